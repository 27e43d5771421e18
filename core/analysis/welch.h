// The Welch average of one stream of samples: Hann-windowed segments that
// overlap by half, |FFT|^2 summed per bin. Fed block by block; one per thread.
#ifndef ORVENDA_CORE_ANALYSIS_WELCH_H
#define ORVENDA_CORE_ANALYSIS_WELCH_H

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "core/analysis/sample_source.h"
#include "core/analysis/spectrum.h"

namespace orvenda::analysis {

class WelchAccumulator {
public:
    explicit WelchAccumulator(std::size_t fftSize);
    ~WelchAccumulator();
    WelchAccumulator(const WelchAccumulator&) = delete;
    WelchAccumulator& operator=(const WelchAccumulator&) = delete;

    // Appends samples [from, to) of block; a segment is transformed whenever
    // fftSize samples are buffered, then the buffer keeps its second half.
    void add(const SampleBlock& block, std::size_t from, std::size_t to);
    // Transforms the buffered samples zero-padded, when no segment was
    // complete (a range shorter than one segment).
    void finishShort();
    // Samples still needed to complete the segment under way (0 when the
    // buffer is empty).
    std::size_t missingForPending() const;

    std::size_t fftSize() const { return size_; }
    std::uint64_t segments() const { return segments_; }
    const std::vector<double>& powerSums() const { return sums_; }  // in FFT order

private:
    void transform();

    std::size_t size_;
    std::size_t filled_ = 0;
    std::uint64_t segments_ = 0;
    std::vector<float> window_;
    std::vector<double> sums_;
    struct Fft;
    std::unique_ptr<Fft> fft_;
};

// The finished spectrum from the summed powers of all accumulators (added in
// the order given), the source's sampling frequency and whether it is complex.
Spectrum welchSpectrum(const std::vector<const WelchAccumulator*>& parts, double samplingFrequency, bool complex);

}  // namespace orvenda::analysis

#endif
