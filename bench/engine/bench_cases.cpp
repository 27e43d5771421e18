#include "bench/engine/bench_cases.h"

namespace orvenda::bench {

const std::vector<BenchCase>& benchCases() {
    static const std::vector<BenchCase> cases = {
        {"text-two-column", Layout::TwoColumnText, IfMode::Baseband, TargetKind::InputBytesPerSecond,
         kTwoColumnBytesPerSecond},
        {"text-single-column-i-q", Layout::SingleColumnText, IfMode::Baseband, TargetKind::InputBytesPerSecond,
         kTextBytesPerSecond},
        {"int16-pairs", Layout::Int16Pairs, IfMode::Baseband, TargetKind::SamplesPerSecond, kBinarySamplesPerSecond},
        {"float-pairs", Layout::FloatPairs, IfMode::Baseband, TargetKind::SamplesPerSecond, kBinarySamplesPerSecond},
        {"float-pairs-real-if", Layout::FloatPairs, IfMode::RealIf, TargetKind::SpeedUp, kIfSpeedUp},
        {"float-pairs-complex-shift", Layout::FloatPairs, IfMode::ComplexShift, TargetKind::SpeedUp, kIfSpeedUp},
        {"float-tone-complex-shift", Layout::FloatTone, IfMode::ComplexShift, TargetKind::SpeedUp, kWorstCaseIfSpeedUp},
    };
    return cases;
}

const BenchCase* findCase(const std::string& name) {
    for (const BenchCase& c : benchCases()) {
        if (c.name == name) return &c;
    }
    return nullptr;
}

}  // namespace orvenda::bench
