// Welch power spectrum: Hann-windowed segments with 50 % overlap, the power
// of each bin averaged over all segments, in dB relative to full scale.
#ifndef ORVENDA_CORE_ANALYSIS_SPECTRUM_H
#define ORVENDA_CORE_ANALYSIS_SPECTRUM_H

#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/analysis/analysis_control.h"
#include "core/analysis/sample_source.h"

namespace orvenda::analysis {

inline constexpr std::size_t kMinFftSize = 1024;
inline constexpr std::size_t kMaxFftSize = 65536;

struct SpectrumSettings {
    std::size_t fftSize = 4096;  // points per segment: a power of two in kMinFftSize .. kMaxFftSize
};

// A power of two within kMinFftSize .. kMaxFftSize.
bool isValidFftSize(std::size_t size);

struct Spectrum {
    Status status;
    std::size_t fftSize = 0;
    std::uint64_t segments = 0;  // segments averaged (a range shorter than one segment: 1, zero-padded)
    // Hz per bin: fs / fftSize. When the source does not know fs, fs counts
    // as 1 and frequencies are in cycles per sample.
    double binWidthHz = 0.0;
    // Equivalent noise bandwidth of the window in bins (1.5 for Hann): a
    // density in dBFS/Hz is powerDbfs - 10*log10(noiseBandwidthBins * binWidthHz).
    double noiseBandwidthBins = 1.5;
    // Complex sources: fftSize bins from -fs/2 up to fs/2 - binWidth, 0 Hz at
    // index fftSize/2. Real sources (isComplex() false): fftSize/2 + 1 bins
    // from 0 to fs/2, not folded.
    bool centred = true;
    std::vector<double> frequencyHz;
    // Mean over segments of |X_k|^2 / (sum of window)^2 with x = I + jQ in
    // units of full scale (code - 8192) / 8191: a full-scale complex tone on
    // a bin centre reads 0 dBFS in its bin, a full-scale real tone -6.02 dBFS
    // at +f and -f. -inf dB for an exactly empty bin is given as -400.
    std::vector<double> powerDbfs;
};

// The spectrum of [begin, end) (end clamped to size()); 2 threads.
Spectrum computeSpectrum(const SampleSource& source, std::uint64_t begin, std::uint64_t end,
                         const SpectrumSettings& settings, const AnalysisControl& control = {});

}  // namespace orvenda::analysis

#endif
