// The cases of the engine benchmark: every input layout through Halvik, and
// both IF forms on float pairs, each with the target it is held to.
#ifndef ORVENDA_BENCH_ENGINE_BENCH_CASES_H
#define ORVENDA_BENCH_ENGINE_BENCH_CASES_H

#include <string>
#include <vector>

namespace orvenda::bench {

enum class Layout { TwoColumnText, SingleColumnText, Int16Pairs, FloatPairs };
enum class IfMode { Baseband, RealIf, ComplexShift };
enum class TargetKind { SamplesPerSecond, InputBytesPerSecond, SinCosShare };

struct BenchCase {
    std::string name;  // also the child process's argument
    Layout layout;
    IfMode ifMode;
    TargetKind targetKind;
};

const std::vector<BenchCase>& benchCases();
const BenchCase* findCase(const std::string& name);

// Targets: 170 million samples/s for binary baseband, 450 MB of text per
// second, and for IF 80 % of what sin and cos alone allow (two passes, one
// sin-cos pair per sample and pass).
inline constexpr double kBinarySamplesPerSecond = 170e6;
inline constexpr double kTextBytesPerSecond = 450e6;
inline constexpr double kSinCosShare = 0.80;

// The IF parameters of the IF cases.
inline constexpr double kSamplingFrequency = 100e6;
inline constexpr double kIntermediateFrequency = 12.3e6;

}  // namespace orvenda::bench

#endif
