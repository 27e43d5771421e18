// The levels of the codes a conversion writes: peak, RMS, PAPR, clipping and
// the signal-to-quantization-noise ratio of the 14-bit codes.
#ifndef ORVENDA_CORE_ANALYSIS_LEVEL_REPORT_H
#define ORVENDA_CORE_ANALYSIS_LEVEL_REPORT_H

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace orvenda::analysis {

// x = I + jQ in units of full scale ((code - 8192) / 8191); Q is 0 for a
// real IF output. A complex value can exceed 0 dBFS (up to +3.01 dBFS in a
// corner of the I/Q square).
struct LevelReport {
    std::uint64_t samples = 0;
    double peakDbfs = 0.0;  // 20*log10(max |x|); -infinity when every sample is 0
    double rmsDbfs = 0.0;   // 10*log10(mean |x|^2); -infinity when every sample is 0
    double paprDb = 0.0;    // 10*log10(max|x|^2 / mean|x|^2); NaN when every sample is 0
    // Samples with I or Q at full scale (code 1 or 16383, or beyond).
    std::uint64_t fullScaleSamples = 0;
    double fullScaleShare = 0.0;  // fullScaleSamples / samples, 0 .. 1
    // 10*log10(sum |exact|^2 / sum |code - exact|^2) with exact the scaled
    // value before truncation and clipping. Empty when the source has no
    // exact values (an ".awv" file); +infinity when every code is exact.
    std::optional<double> sqnrDb;
};

// The report's lines without line ends, numbers with two decimals and a
// point whatever the locale:
//   "Peak  -0.00 dBFS", "RMS  -3.01 dBFS", "PAPR  3.01 dB",
//   "Full scale  0.00 % (0 samples)", "SQNR  74.21 dB" (only with exact values).
// -infinity prints as "-inf"; an undefined PAPR as "PAPR  - dB".
std::vector<std::string> levelReportLines(const LevelReport& report);

}  // namespace orvenda::analysis

#endif
