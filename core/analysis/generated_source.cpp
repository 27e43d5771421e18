#include "core/analysis/generated_source.h"

namespace orvenda::analysis {
namespace {

class GeneratedCursor final : public SampleCursor {
public:
    explicit GeneratedCursor(const GeneratedSignal& signal) : signal_(signal) {}

    bool read(std::uint64_t first, std::size_t count, SampleBlock& block) override {
        if (first > signal_.size || count > signal_.size - first) return false;
        block.resize(count, signal_.exactValues);
        signal_.fill(first, count, block);
        return true;
    }
    std::string error() const override { return "the range lies beyond the last sample"; }

private:
    const GeneratedSignal& signal_;
};

}  // namespace

std::unique_ptr<SampleCursor> GeneratedSampleSource::openCursor() const {
    return std::make_unique<GeneratedCursor>(signal_);
}

}  // namespace orvenda::analysis
