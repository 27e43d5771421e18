// An ".awv" waveform file as a sample source: the file is checked completely
// when opened (a truncated or corrupt file is refused with the byte offset of
// the fault), then ranges are read straight from the sample block.
#ifndef ORVENDA_CORE_ANALYSIS_AWV_SOURCE_H
#define ORVENDA_CORE_ANALYSIS_AWV_SOURCE_H

#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "core/analysis/sample_source.h"
#include "engine/awv_reader.h"

namespace orvenda::analysis {

// Codes are decoded as code - 8192: word A as I, word B as Q; marker 1 is
// bit 14 and marker 2 bit 15 of word A. No exact values.
class AwvSampleSource final : public SampleSource {
public:
    using OpenResult = std::variant<std::unique_ptr<AwvSampleSource>, halvik::AwvError>;

    static OpenResult open(const std::string& path);

    // What the check found: header settings and lines, sample count, code statistics.
    const halvik::AwvSummary& summary() const { return summary_; }
    const std::string& path() const { return path_; }

    std::uint64_t size() const override { return summary_.sampleCount; }
    double samplingFrequency() const override;  // SAMPLINGFREQ, 0 without that line
    bool isComplex() const override;            // false when every word B code is 8192
    bool hasMarkers() const override;           // some marker bit is set somewhere
    bool hasExactValues() const override { return false; }
    std::unique_ptr<SampleCursor> openCursor() const override;

private:
    AwvSampleSource(std::string path, halvik::AwvSummary summary);

    std::string path_;
    halvik::AwvSummary summary_;
};

// The header lines as the file holds them, one "KEY: field;field" per line,
// in file order (for a settings list beside the views).
std::vector<std::string> awvHeaderLines(const halvik::AwvSummary& summary);

}  // namespace orvenda::analysis

#endif
