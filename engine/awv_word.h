// The sample words of a ".awv" file: each sample is two little-endian 32-bit
// words. Bits 0..13 hold a 14-bit offset-binary code (8192 is zero, 1 and
// 16383 are full scale); word A carries marker 1 in bit 14 and marker 2 in
// bit 15. All other bits are 0. The writer (sample_codes) and the reader
// (awv_reader) both take the layout from here.
#ifndef ORVENDA_ENGINE_AWV_WORD_H
#define ORVENDA_ENGINE_AWV_WORD_H

#include <cstdint>

namespace halvik {

inline constexpr unsigned kCodeBits = 14;
inline constexpr uint32_t kCodeMask = (uint32_t{1} << kCodeBits) - 1;
inline constexpr uint32_t kZeroCode = uint32_t{1} << (kCodeBits - 1);
inline constexpr uint32_t kCodeScale = kZeroCode - 1;  // code steps from zero to full scale
inline constexpr uint32_t kNegativeFullScale = kZeroCode - kCodeScale;
inline constexpr uint32_t kPositiveFullScale = kZeroCode + kCodeScale;

inline constexpr unsigned kMarker1BitIndex = kCodeBits;
inline constexpr unsigned kMarker2BitIndex = kCodeBits + 1;
inline constexpr uint32_t kMarker1Bit = uint32_t{1} << kMarker1BitIndex;
inline constexpr uint32_t kMarker2Bit = uint32_t{1} << kMarker2BitIndex;

static_assert(kCodeMask == 0x3fff && kZeroCode == 8192 && kNegativeFullScale == 1 && kPositiveFullScale == 16383);
static_assert(kMarker1Bit == 16384 && kMarker2Bit == 32768);

}  // namespace halvik

#endif
