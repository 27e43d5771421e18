#include "core/analysis/code_words.h"

namespace orvenda::analysis {

void decodeWords(const std::uint32_t* words, std::size_t count, SampleBlock& block, std::size_t offset) {
    std::int16_t* i = block.i.data() + offset;
    std::int16_t* q = block.q.data() + offset;
    std::uint8_t* markers = block.markers.data() + offset;
    for (std::size_t k = 0; k < count; ++k) {
        const std::uint32_t a = words[2 * k];
        const std::uint32_t b = words[2 * k + 1];
        i[k] = static_cast<std::int16_t>(static_cast<int>(a & 0x3fff) - 8192);
        q[k] = static_cast<std::int16_t>(static_cast<int>(b & 0x3fff) - 8192);
        markers[k] = static_cast<std::uint8_t>((a >> 14) & 0x3);
    }
}

}  // namespace orvenda::analysis
