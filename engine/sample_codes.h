// Sample codes of the waveform file, in the word layout of engine/awv_word.h.
#ifndef ORVENDA_ENGINE_SAMPLE_CODES_H
#define ORVENDA_ENGINE_SAMPLE_CODES_H

#include <cstddef>
#include <cstdint>

#include "engine/awv_word.h"

namespace halvik {

// trunc(((value / peak) * gain) * 8191 + 8192), in exactly this order of
// operations (a reordered product changes truncated codes), then held within
// 1..16383 so a value beyond the peak clips to full scale instead of spilling
// into the marker or upper bits.
inline uint32_t sampleCode(double value, double peak, double gain) {
    constexpr double lowest = kNegativeFullScale;
    constexpr double highest = kPositiveFullScale;
    double x = ((value / peak) * gain) * static_cast<double>(kCodeScale);
    double y = x + static_cast<double>(kZeroCode);
    y = y > lowest ? y : lowest;  // also takes a NaN to the lowest code, never to undefined behaviour
    y = y < highest ? y : highest;
    return static_cast<uint32_t>(static_cast<int32_t>(y));
}

// The words of one block: out holds 2 * count words (A, B per sample). a
// rides in word A with the marker bits (levels masked by mask1, mask2), b in
// word B. Words are stored little-endian.
void encodeBlock(const double* a, const double* b, const int32_t* level1, const int32_t* level2, int32_t mask1,
                 int32_t mask2, double peak, double gain, uint32_t* out, std::size_t count);

}  // namespace halvik

#endif
