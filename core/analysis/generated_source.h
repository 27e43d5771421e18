// A source whose samples a function computes on demand: synthetic signals
// of any length for tests and benchmarks without a file.
#ifndef ORVENDA_CORE_ANALYSIS_GENERATED_SOURCE_H
#define ORVENDA_CORE_ANALYSIS_GENERATED_SOURCE_H

#include <functional>

#include "core/analysis/sample_source.h"

namespace orvenda::analysis {

struct GeneratedSignal {
    std::uint64_t size = 0;
    double samplingFrequency = 0.0;
    bool complex = true;
    bool markers = false;
    bool exactValues = false;
    // Fills block (already resized to count, with exact vectors when
    // exactValues) with samples [first, first + count); called from several
    // threads at once.
    std::function<void(std::uint64_t first, std::size_t count, SampleBlock& block)> fill;
};

class GeneratedSampleSource final : public SampleSource {
public:
    explicit GeneratedSampleSource(GeneratedSignal signal) : signal_(std::move(signal)) {}

    std::uint64_t size() const override { return signal_.size; }
    double samplingFrequency() const override { return signal_.samplingFrequency; }
    bool isComplex() const override { return signal_.complex; }
    bool hasMarkers() const override { return signal_.markers; }
    bool hasExactValues() const override { return signal_.exactValues; }
    std::unique_ptr<SampleCursor> openCursor() const override;

private:
    GeneratedSignal signal_;
};

}  // namespace orvenda::analysis

#endif
