// The per-sample statistics of the whole-file pass, one set per thread,
// merged in a fixed order: levels, power histogram (for the CCDF) and the
// I/Q density.
#ifndef ORVENDA_CORE_ANALYSIS_SIGNAL_STATISTICS_H
#define ORVENDA_CORE_ANALYSIS_SIGNAL_STATISTICS_H

#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/analysis/ccdf.h"
#include "core/analysis/constellation.h"
#include "core/analysis/level_report.h"
#include "core/analysis/sample_source.h"

namespace orvenda::analysis {

// Instantaneous power i^2 + q^2 (code units) in bins of 2^(1/128) (0.024 dB),
// by the bits of its float value; power 0 has a bin of its own.
class PowerHistogram {
public:
    PowerHistogram();
    void add(std::int32_t power) { ++counts_[binOf(power)]; }
    void merge(const PowerHistogram& other);
    // The curve relative to meanPower (code units), down to kCcdfFloor.
    Ccdf ccdf(double meanPower, std::int64_t maxPower) const;

    static std::size_t binOf(std::int32_t power);
    static double lowerEdge(std::size_t bin);  // power at the bin's lower edge; bin 0 is power 0

private:
    std::vector<std::uint64_t> counts_;
};

class SignalStatistics {
public:
    explicit SignalStatistics(std::size_t constellationBins);
    void add(const SampleBlock& block, std::size_t from, std::size_t to);
    void merge(const SignalStatistics& other);

    LevelReport levels(bool withExact) const;
    Ccdf ccdf() const;
    Constellation constellation() const;

private:
    std::uint64_t samples_ = 0;
    std::int64_t powerSum_ = 0;  // exact: at most 2^27 per sample
    std::int64_t maxPower_ = 0;
    std::uint64_t fullScale_ = 0;
    double exactPower_ = 0.0;
    double errorPower_ = 0.0;
    PowerHistogram histogram_;
    std::size_t bins_;
    std::vector<std::uint64_t> density_;
};

}  // namespace orvenda::analysis

#endif
