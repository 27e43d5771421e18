#include "core/analysis/signal_statistics.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdlib>
#include <limits>

namespace orvenda::analysis {
namespace {

// Bins start at power 1 (float bits 0x3F800000); 16 bits dropped keep 7
// mantissa bits, 128 bins per doubling. The largest power is 2 * 8192^2 = 2^27.
constexpr std::uint32_t kFirstBits = 0x3F80;
constexpr std::size_t kBins = (28 * 128) + 2;

}  // namespace

PowerHistogram::PowerHistogram() : counts_(kBins, 0) {}

std::size_t PowerHistogram::binOf(std::int32_t power) {
    if (power <= 0) return 0;
    const std::uint32_t bits = std::bit_cast<std::uint32_t>(static_cast<float>(power)) >> 16;
    return std::min<std::size_t>(bits - kFirstBits + 1, kBins - 1);
}

double PowerHistogram::lowerEdge(std::size_t bin) {
    if (bin == 0) return 0.0;
    return std::bit_cast<float>(static_cast<std::uint32_t>((bin - 1 + kFirstBits) << 16));
}

void PowerHistogram::merge(const PowerHistogram& other) {
    for (std::size_t k = 0; k < kBins; ++k) counts_[k] += other.counts_[k];
}

Ccdf PowerHistogram::ccdf(double meanPower, std::int64_t maxPower) const {
    Ccdf curve;
    std::uint64_t total = 0;
    for (std::uint64_t count : counts_) total += count;
    if (total == 0 || meanPower <= 0.0) {
        curve.paprDb = 0.0;
        curve.crestFactor = 1.0;
        curve.relativePowerDb = {0.0};
        curve.probability = {0.0};
        return curve;
    }
    curve.paprDb = 10.0 * std::log10(static_cast<double>(maxPower) / meanPower);
    curve.crestFactor = std::sqrt(static_cast<double>(maxPower) / meanPower);
    // above[k]: samples in bins k and higher.
    std::vector<std::uint64_t> above(kBins + 1, 0);
    for (std::size_t k = kBins; k-- > 0;) above[k] = above[k + 1] + counts_[k];
    for (std::size_t step = 0;; ++step) {
        const double db = static_cast<double>(step) * kCcdfStepDb;
        const double threshold = meanPower * std::pow(10.0, db / 10.0);
        double probability = 0.0;
        if (threshold < static_cast<double>(maxPower)) {
            // Whole bins above the threshold, plus the share of the bin holding
            // it (uniform in log power within the bin).
            std::size_t bin = binOf(static_cast<std::int32_t>(std::min(threshold, 2.0e9)));
            while (bin + 1 < kBins && lowerEdge(bin + 1) <= threshold) ++bin;
            const double low = lowerEdge(bin);
            const double high = bin + 1 < kBins ? lowerEdge(bin + 1) : low * 2.0;
            double share = low > 0.0 ? std::log(high / threshold) / std::log(high / low) : 0.0;
            share = std::clamp(share, 0.0, 1.0);
            probability = (static_cast<double>(above[bin + 1]) + share * static_cast<double>(counts_[bin])) /
                          static_cast<double>(total);
        }
        curve.relativePowerDb.push_back(db);
        curve.probability.push_back(probability);
        if (probability < kCcdfFloor || probability == 0.0) break;
    }
    return curve;
}

SignalStatistics::SignalStatistics(std::size_t constellationBins)
    : bins_(constellationBins),
      recent_(constellationBins * constellationBins, 0),
      density_(constellationBins * constellationBins, 0) {}

void SignalStatistics::foldRecent() {
    for (std::size_t k = 0; k < recent_.size(); ++k) density_[k] += recent_[k];
    std::fill(recent_.begin(), recent_.end(), 0u);
    recentSamples_ = 0;
}

void SignalStatistics::add(const SampleBlock& block, std::size_t from, std::size_t to) {
    const std::int16_t* i = block.i.data();
    const std::int16_t* q = block.q.data();
    // Sums and extremes in a loop of their own (it vectorises); the
    // histogram and density updates scatter and cannot.
    std::int64_t sum = 0;
    std::int32_t peak = 0;
    std::uint64_t fullScale = 0;
    for (std::size_t k = from; k < to; ++k) {
        const std::int32_t a = i[k];
        const std::int32_t b = q[k];
        const std::int32_t power = a * a + b * b;
        sum += power;
        peak = std::max(peak, power);
        const std::int32_t largest = std::max(std::abs(a), std::abs(b));
        fullScale += static_cast<std::uint64_t>(largest >= kFullScaleCode);
    }
    if (recentSamples_ + (to - from) > 0xFFFFFFFFull) foldRecent();
    recentSamples_ += to - from;
    const std::size_t shift = 14 - static_cast<std::size_t>(std::countr_zero(bins_));
    const bool powerOfTwo = std::has_single_bit(bins_);
    for (std::size_t k = from; k < to; ++k) {
        const std::int32_t a = i[k];
        const std::int32_t b = q[k];
        histogram_.add(a * a + b * b);
        const std::size_t iBin =
            powerOfTwo ? static_cast<std::size_t>(a + 8192) >> shift : Constellation::binOf(a, bins_);
        const std::size_t qBin =
            powerOfTwo ? static_cast<std::size_t>(b + 8192) >> shift : Constellation::binOf(b, bins_);
        ++recent_[qBin * bins_ + iBin];
    }
    if (!block.exactI.empty()) {
        const double* ei = block.exactI.data();
        const double* eq = block.exactQ.data();
        double signal = 0.0, noise = 0.0;
        for (std::size_t k = from; k < to; ++k) {
            const double di = static_cast<double>(i[k]) - ei[k];
            const double dq = static_cast<double>(q[k]) - eq[k];
            signal += ei[k] * ei[k] + eq[k] * eq[k];
            noise += di * di + dq * dq;
        }
        exactPower_ += signal;
        errorPower_ += noise;
    }
    samples_ += to - from;
    powerSum_ += sum;
    maxPower_ = std::max<std::int64_t>(maxPower_, peak);
    fullScale_ += fullScale;
}

void SignalStatistics::merge(SignalStatistics& other) {
    foldRecent();
    other.foldRecent();
    samples_ += other.samples_;
    powerSum_ += other.powerSum_;
    maxPower_ = std::max(maxPower_, other.maxPower_);
    fullScale_ += other.fullScale_;
    exactPower_ += other.exactPower_;
    errorPower_ += other.errorPower_;
    histogram_.merge(other.histogram_);
    for (std::size_t k = 0; k < density_.size() && k < other.density_.size(); ++k) density_[k] += other.density_[k];
}

LevelReport SignalStatistics::levels(bool withExact) const {
    LevelReport report;
    report.samples = samples_;
    const double fullScalePower = kFullScale * kFullScale;
    const double meanPower = samples_ == 0 ? 0.0 : static_cast<double>(powerSum_) / static_cast<double>(samples_);
    const double infinity = std::numeric_limits<double>::infinity();
    report.peakDbfs = maxPower_ > 0 ? 10.0 * std::log10(static_cast<double>(maxPower_) / fullScalePower) : -infinity;
    report.rmsDbfs = meanPower > 0.0 ? 10.0 * std::log10(meanPower / fullScalePower) : -infinity;
    report.paprDb = meanPower > 0.0 ? 10.0 * std::log10(static_cast<double>(maxPower_) / meanPower)
                                    : std::numeric_limits<double>::quiet_NaN();
    report.fullScaleSamples = fullScale_;
    report.fullScaleShare = samples_ == 0 ? 0.0 : static_cast<double>(fullScale_) / static_cast<double>(samples_);
    if (withExact) {
        if (errorPower_ > 0.0) {
            report.sqnrDb = exactPower_ > 0.0 ? 10.0 * std::log10(exactPower_ / errorPower_) : -infinity;
        } else {
            report.sqnrDb = infinity;
        }
    }
    return report;
}

Ccdf SignalStatistics::ccdf() const {
    const double meanPower = samples_ == 0 ? 0.0 : static_cast<double>(powerSum_) / static_cast<double>(samples_);
    return histogram_.ccdf(meanPower, maxPower_);
}

Constellation SignalStatistics::constellation() {
    foldRecent();
    Constellation result;
    result.bins = bins_;
    result.counts = density_;
    for (std::uint64_t count : density_) result.maxCount = std::max(result.maxCount, count);
    return result;
}

double gaussianCcdf(double relativePowerDb) { return std::exp(-std::pow(10.0, relativePowerDb / 10.0)); }

}  // namespace orvenda::analysis
