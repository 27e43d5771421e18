// Where the separators of free-format text lie in 64 bytes, as the bits of
// one word (bit i for the i-th byte). With the separators known up front,
// the start of the next number does not wait for the previous one to be
// converted, so the processor converts several numbers at once.
#ifndef ORVENDA_GUI_INPUT_SEPARATOR_MASK_H
#define ORVENDA_GUI_INPUT_SEPARATOR_MASK_H

#include <cstdint>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace orvenda::input {

// Separators of free-format text: comma, blank, tab, line feed, carriage return.
constexpr bool isFreeFormatSeparator(char c) { return c == ',' || c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

// Needs 64 readable bytes at `p`.
inline uint64_t separatorMask(const char* p) {
#if defined(__SSE2__)
    uint64_t mask = 0;
    for (int k = 0; k < 4; ++k) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + 16 * k));
        const __m128i hits = _mm_or_si128(
            _mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8(',')), _mm_cmpeq_epi8(v, _mm_set1_epi8(' '))),
            _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(v, _mm_set1_epi8('\t')), _mm_cmpeq_epi8(v, _mm_set1_epi8('\n'))),
                         _mm_cmpeq_epi8(v, _mm_set1_epi8('\r'))));
        mask |= static_cast<uint64_t>(static_cast<uint32_t>(_mm_movemask_epi8(hits))) << (16 * k);
    }
    return mask;
#else
    uint64_t mask = 0;
    for (int i = 0; i < 64; ++i) mask |= static_cast<uint64_t>(isFreeFormatSeparator(p[i])) << i;
    return mask;
#endif
}

// How many line feeds [begin, end) holds (std::count does a byte at a time).
inline int64_t countLineFeeds(const char* begin, const char* end) {
    int64_t count = 0;
    const char* p = begin;
#if defined(__SSE2__)
    const __m128i lineFeed = _mm_set1_epi8('\n');
    const auto lineFeedsAt = [lineFeed](const char* at) {
        return _mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(at)), lineFeed);
    };
    while (end - p >= 16 * 255) {
        // Per-byte counters, at most 255 blocks before they are summed.
        __m128i counters = _mm_setzero_si128();
        for (int k = 0; k < 255; ++k, p += 16) counters = _mm_sub_epi8(counters, lineFeedsAt(p));
        const __m128i sums = _mm_sad_epu8(counters, _mm_setzero_si128());
        count += _mm_cvtsi128_si32(sums) + _mm_cvtsi128_si32(_mm_srli_si128(sums, 8));
    }
    while (end - p >= 16) {
        const int hits = _mm_movemask_epi8(lineFeedsAt(p));
        count += __builtin_popcount(static_cast<unsigned>(hits));
        p += 16;
    }
#endif
    for (; p < end; ++p) count += *p == '\n';
    return count;
}

}  // namespace orvenda::input

#endif
