#include "engine/sample_codes.h"

#include <bit>

#include "engine/hot_loop.h"

namespace halvik {

static_assert(std::endian::native == std::endian::little, "sample words are stored as they lie in memory");

HALVIK_HOT_LOOP void encodeBlock(const double* a, const double* b, const int32_t* level1, const int32_t* level2,
                                 int32_t mask1, int32_t mask2, double peak, double gain, uint32_t* out,
                                 std::size_t count) {
    for (std::size_t k = 0; k < count; ++k) {
        uint32_t markers = static_cast<uint32_t>(level1[k] & mask1) * kMarker1Bit +
                           static_cast<uint32_t>(level2[k] & mask2) * kMarker2Bit;
        out[2 * k] = sampleCode(a[k], peak, gain) + markers;
        out[2 * k + 1] = sampleCode(b[k], peak, gain);
    }
}

}  // namespace halvik
