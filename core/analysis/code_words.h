// Sample words (A, B) to the decoded values of a SampleBlock.
#ifndef ORVENDA_CORE_ANALYSIS_CODE_WORDS_H
#define ORVENDA_CORE_ANALYSIS_CODE_WORDS_H

#include <cstddef>
#include <cstdint>

#include "core/analysis/sample_source.h"

namespace orvenda::analysis {

// Fills block.i, block.q and block.markers [offset, offset + count) from
// 2 * count words: code - 8192 of the low 14 bits, marker bits 14 and 15 of word A.
void decodeWords(const std::uint32_t* words, std::size_t count, SampleBlock& block, std::size_t offset = 0);

}  // namespace orvenda::analysis

#endif
