#include "core/analysis/awv_source.h"

#include <algorithm>
#include <vector>

#include "core/analysis/code_words.h"
#include "engine/awv_range_reader.h"

namespace orvenda::analysis {
namespace {

class AwvCursor final : public SampleCursor {
public:
    explicit AwvCursor(std::unique_ptr<halvik::AwvRangeReader> reader) : reader_(std::move(reader)) {}

    bool read(std::uint64_t first, std::size_t count, SampleBlock& block) override {
        block.resize(count, false);
        if (!reader_) {
            error_ = "the waveform file cannot be opened again";
            return false;
        }
        return readDecodedChunks(words_, first, count, block,
                                 [this](std::uint64_t at, std::size_t length, std::uint32_t* words, std::size_t) {
                                     if (reader_->read(at, length, words)) return true;
                                     error_ = "the waveform file ends before sample " + std::to_string(at + length) +
                                              "; it changed after it was checked";
                                     return false;
                                 });
    }
    std::string error() const override { return error_; }

private:
    std::unique_ptr<halvik::AwvRangeReader> reader_;
    std::vector<std::uint32_t> words_;
    std::string error_;
};

}  // namespace

AwvSampleSource::OpenResult AwvSampleSource::open(const std::string& path) {
    halvik::AwvReadResult result = halvik::readAwvFile(path);
    if (auto* error = std::get_if<halvik::AwvError>(&result)) return *error;
    return std::unique_ptr<AwvSampleSource>(new AwvSampleSource(path, std::move(std::get<halvik::AwvSummary>(result))));
}

AwvSampleSource::AwvSampleSource(std::string path, halvik::AwvSummary summary)
    : path_(std::move(path)), summary_(std::move(summary)) {}

double AwvSampleSource::samplingFrequency() const { return summary_.settings.samplingFrequency.value_or(0.0); }

bool AwvSampleSource::isComplex() const { return !(summary_.wordB.minCode == 8192 && summary_.wordB.maxCode == 8192); }

bool AwvSampleSource::hasMarkers() const {
    return summary_.marker1.highSamples > 0 || summary_.marker2.highSamples > 0;
}

std::unique_ptr<SampleCursor> AwvSampleSource::openCursor() const {
    return std::make_unique<AwvCursor>(halvik::AwvRangeReader::open(path_, summary_));
}

std::vector<std::string> awvHeaderLines(const halvik::AwvSummary& summary) {
    std::vector<std::string> lines;
    for (const halvik::AwvHeaderLine& line : summary.lines) {
        std::string text = line.key + ":";
        for (std::size_t k = 0; k < line.fields.size(); ++k) text += (k == 0 ? " " : ";") + line.fields[k];
        lines.push_back(std::move(text));
    }
    return lines;
}

}  // namespace orvenda::analysis
