// The constellation view's data: a 2-D histogram of I/Q codes.
#ifndef ORVENDA_CORE_ANALYSIS_CONSTELLATION_H
#define ORVENDA_CORE_ANALYSIS_CONSTELLATION_H

#include <cstddef>
#include <cstdint>
#include <vector>

namespace orvenda::analysis {

inline constexpr std::size_t kDefaultConstellationBins = 256;

struct Constellation {
    // Bins per axis; both axes span codes -8192 .. 8191 (code - 8192).
    std::size_t bins = 0;
    // counts[qBin * bins + iBin]; bin 0 holds the most negative values, so
    // row 0 is the bottom of the picture.
    std::vector<std::uint64_t> counts;
    std::uint64_t maxCount = 0;  // largest entry of counts

    // The bin of one value (code - 8192, -8192 .. 8191): (value + 8192) * bins / 16384.
    static std::size_t binOf(int value, std::size_t bins) {
        return static_cast<std::size_t>(value + 8192) * bins / 16384;
    }
    // The code value at the lower edge of a bin (inverse of binOf).
    static double binLowerEdge(std::size_t bin, std::size_t bins) {
        return static_cast<double>(bin) * 16384.0 / static_cast<double>(bins) - 8192.0;
    }
};

}  // namespace orvenda::analysis

#endif
