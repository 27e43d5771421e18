// Sample words (A, B) to the decoded values of a SampleBlock.
#ifndef ORVENDA_CORE_ANALYSIS_CODE_WORDS_H
#define ORVENDA_CORE_ANALYSIS_CODE_WORDS_H

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/analysis/sample_source.h"

namespace orvenda::analysis {

// Fills block.i, block.q and block.markers [offset, offset + count) from
// 2 * count words: code - 8192 of the low 14 bits, marker bits 14 and 15 of word A.
void decodeWords(const std::uint32_t* words, std::size_t count, SampleBlock& block, std::size_t offset = 0);

// Reads [first, first + count) in chunks of at most kWordChunk samples into
// `words` and decodes each chunk into `block`. readChunk(first, length, words,
// offset) fills 2 * length words (and may fill more of `block` at offset);
// false stops the read.
inline constexpr std::size_t kWordChunk = std::size_t{1} << 16;

template <class ReadChunk>
bool readDecodedChunks(std::vector<std::uint32_t>& words, std::uint64_t first, std::size_t count, SampleBlock& block,
                       ReadChunk readChunk) {
    words.resize(2 * std::min(count, kWordChunk));
    for (std::size_t done = 0; done < count;) {
        const std::size_t length = std::min(count - done, kWordChunk);
        if (!readChunk(first + done, length, words.data(), done)) return false;
        decodeWords(words.data(), length, block, done);
        done += length;
    }
    return true;
}

}  // namespace orvenda::analysis

#endif
