// Sample codes of the waveform file: 14-bit offset binary around 8192 with the
// two marker bits in bits 14 and 15 of the first word of each sample.
#ifndef ORVENDA_ENGINE_SAMPLE_CODES_H
#define ORVENDA_ENGINE_SAMPLE_CODES_H

#include <cstddef>
#include <cstdint>

namespace halvik {

inline constexpr uint32_t kZeroCode = 8192;
inline constexpr uint32_t kMarker1Bit = 16384;
inline constexpr uint32_t kMarker2Bit = 32768;

// The code's value before truncation, relative to the zero code: the exact
// scaled sample ((value / peak) * gain) * 8191.
inline double scaledCodeValue(double value, double peak, double gain) { return ((value / peak) * gain) * 8191.0; }

// trunc(((value / peak) * gain) * 8191 + 8192), in exactly this order of
// operations (a reordered product changes truncated codes), then held within
// 1..16383 so a value beyond the peak clips to full scale instead of spilling
// into the marker or upper bits.
inline uint32_t sampleCode(double value, double peak, double gain) {
    double x = scaledCodeValue(value, peak, gain);
    double y = x + 8192.0;
    y = y > 1.0 ? y : 1.0;  // also takes a NaN to 1, never to undefined behaviour
    y = y < 16383.0 ? y : 16383.0;
    return static_cast<uint32_t>(static_cast<int32_t>(y));
}

// The words of one block: out holds 2 * count words (A, B per sample). a
// rides in word A with the marker bits (levels masked by mask1, mask2), b in
// word B. Words are stored little-endian.
void encodeBlock(const double* a, const double* b, const int32_t* level1, const int32_t* level2, int32_t mask1,
                 int32_t mask2, double peak, double gain, uint32_t* out, std::size_t count);

}  // namespace halvik

#endif
