// The cases of the engine benchmark: every input layout through Halvik, and
// both IF forms on float pairs, each with the target it is held to.
#ifndef ORVENDA_BENCH_ENGINE_BENCH_CASES_H
#define ORVENDA_BENCH_ENGINE_BENCH_CASES_H

#include <string>
#include <vector>

namespace orvenda::bench {

// FloatTone: float pairs of a full-scale complex tone, whose constant
// envelope lets every sample set the IF peak (the scan's worst case).
enum class Layout { TwoColumnText, SingleColumnText, Int16Pairs, FloatPairs, FloatTone };
enum class IfMode { Baseband, RealIf, ComplexShift };
enum class TargetKind { SamplesPerSecond, InputBytesPerSecond, SpeedUp };

struct BenchCase {
    std::string name;  // also the child process's argument
    Layout layout;
    IfMode ifMode;
    TargetKind targetKind;
    double target;  // samples/s, input bytes/s or a speed-up over today's engine
};

const std::vector<BenchCase>& benchCases();
const BenchCase* findCase(const std::string& name);

// Targets: 170 million samples/s for binary baseband, 1.0 GB of two-column
// text and 450 MB of single-column text per second, and for IF 2.5 times
// today's single-threaded two-pass engine, measured in the same run (1.5
// times for a signal of constant envelope).
inline constexpr double kBinarySamplesPerSecond = 170e6;
inline constexpr double kTwoColumnBytesPerSecond = 1.0e9;
inline constexpr double kTextBytesPerSecond = 450e6;
inline constexpr double kIfSpeedUp = 2.5;
// A constant envelope: the scan shifts every sample as today's engine does,
// only spread over the threads.
inline constexpr double kWorstCaseIfSpeedUp = 1.5;

// The IF parameters of the IF cases.
inline constexpr double kSamplingFrequency = 100e6;
inline constexpr double kIntermediateFrequency = 12.3e6;

}  // namespace orvenda::bench

#endif
