// The program's one grammar of number text, read in place: optional sign,
// digits with at most one ".", and an exponent only when it is complete ("1e"
// is the number 1 followed by "e"). The input scanner reads every number of
// a text file with it; the text conversions (entry boxes, marker files, the
// command line) read theirs through it too.
//
// Speed matters (hundreds of megabytes of text per load), so runs of digits
// are read eight at a time, and common decimals are converted directly: a
// mantissa of at most 2^53 and a power of ten up to 1e22 are exact doubles,
// so one IEEE multiplication or division gives the correctly rounded value.
// Everything else goes to from_chars, which rounds correctly too.
#ifndef ORVENDA_CORE_SETTINGS_NUMBER_TOKEN_H
#define ORVENDA_CORE_SETTINGS_NUMBER_TOKEN_H

#include <bit>
#include <cstdint>
#include <cstring>

namespace orvenda::settings {

enum class NumberStatus {
    Ok,
    NotANumber,  // no mantissa digit at the start
    Overflow,    // beyond the double range (a tiny value reads as 0)
};

struct NumberToken {
    NumberStatus status;
    double value;
    const char* end;  // just past the number; `first` when there is none
};

namespace detail {

inline constexpr double kExactPowersOf10[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                              1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
inline constexpr uint64_t kIntegerPowersOf10[] = {1, 10, 100, 1000, 10000, 100000, 1000000, 10000000, 100000000};
// Digits a uint64 mantissa takes without overflow.
inline constexpr int kMaxExactDigits = 19;

inline bool isDigit(char c) { return static_cast<unsigned char>(c - '0') < 10; }

// Eight characters as a little-endian word (the first in the lowest byte).
inline uint64_t loadEight(const char* p) {
    uint64_t word;
    std::memcpy(&word, p, 8);
    if constexpr (std::endian::native == std::endian::big) word = __builtin_bswap64(word);
    return word;
}

// How many of the eight characters in `word`, from the first, are digits.
inline int leadingDigitCount(uint64_t word) {
    constexpr uint64_t kHigh = 0xF0F0F0F0F0F0F0F0ull;
    constexpr uint64_t kThrees = 0x3333333333333333ull & kHigh;  // 0x30 in every byte
    // A byte is a digit when its high nibble is 3 both as it is and after
    // adding 6. A carry out of a byte only disturbs bytes after a non-digit.
    const uint64_t other = ((word & kHigh) ^ kThrees) | (((word + 0x0606060606060606ull) & kHigh) ^ kThrees);
    // The top bit of each byte that is not zero in `other`.
    const uint64_t nonDigit =
        (((other & 0x7F7F7F7F7F7F7F7Full) + 0x7F7F7F7F7F7F7F7Full) | other) & 0x8080808080808080ull;
    return nonDigit == 0 ? 8 : std::countr_zero(nonDigit) / 8;
}

// The value of the first `count` (1..8) digits of `word`.
inline uint64_t leadingDigitsValue(uint64_t word, int count) {
    // Shift the digits to the top: the bytes that come in act as leading zeros.
    uint64_t v = (word - 0x3030303030303030ull) << (8 * (8 - count));
    v = (v * 10) + (v >> 8);
    v = (((v & 0x000000FF000000FFull) * 0x000F424000000064ull) +
         (((v >> 16) & 0x000000FF000000FFull) * 0x0000271000000001ull)) >>
        32;
    return v;
}

// Reads a run of digits at `p` into `mantissa`; `digits` counts them all
// (leading zeros included), and the mantissa is kept only while it fits.
inline const char* readDigits(const char* p, const char* last, uint64_t& mantissa, int& digits) {
    while (last - p >= 8) {
        const uint64_t word = loadEight(p);
        const int count = leadingDigitCount(word);
        if (count == 0) return p;
        if (digits + count <= kMaxExactDigits)
            mantissa = mantissa * kIntegerPowersOf10[count] + leadingDigitsValue(word, count);
        digits += count;
        p += count;
        if (count < 8) return p;
    }
    for (; p < last && isDigit(*p); ++p, ++digits)
        if (digits < kMaxExactDigits) mantissa = mantissa * 10 + static_cast<uint64_t>(*p - '0');
    return p;
}

// Converts [first, end) that the grammar accepted, through from_chars.
NumberToken convertSlow(const char* first, const char* end);

}  // namespace detail

// Reads the longest number at the start of [first, last).
inline NumberToken readNumber(const char* first, const char* last) {
    using detail::isDigit;
    if (first == last) return {NumberStatus::NotANumber, 0.0, first};
    // Signs vary at random in sample files: no branch on them.
    const char* p = first;
    const bool negative = *p == '-';
    p += negative | (*p == '+');
    uint64_t mantissa = 0;
    int digits = 0;
    // Integer parts are mostly short: one digit at a time, unless long.
    if (p < last && isDigit(*p)) {
        mantissa = static_cast<uint64_t>(*p++ - '0');
        digits = 1;
        if (p < last && isDigit(*p)) p = detail::readDigits(p, last, mantissa, digits);
    }
    int exponent10 = 0;
    if (p < last && *p == '.') {
        const int integerDigits = digits;
        p = detail::readDigits(p + 1, last, mantissa, digits);
        exponent10 = integerDigits - digits;
    }
    if (digits == 0) return {NumberStatus::NotANumber, 0.0, first};
    if (p < last && (*p == 'e' || *p == 'E')) {
        const char* q = p + 1;
        bool negativeExponent = false;
        if (q < last && (*q == '+' || *q == '-')) {
            negativeExponent = *q == '-';
            ++q;
        }
        if (q < last && isDigit(*q)) {
            int e = 0;
            for (; q < last && isDigit(*q); ++q)
                if (e < 100000) e = e * 10 + (*q - '0');
            exponent10 += negativeExponent ? -e : e;
            p = q;
        }
    }
    if (digits <= detail::kMaxExactDigits) {
        if (mantissa <= (uint64_t{1} << 53) && exponent10 >= -22 && exponent10 <= 22) {
            // Below 2^53 the signed conversion is exact and cheaper.
            double value = static_cast<double>(static_cast<int64_t>(mantissa));
            if (exponent10 >= 0)
                value *= detail::kExactPowersOf10[exponent10];
            else
                value /= detail::kExactPowersOf10[-exponent10];
            const uint64_t sign = static_cast<uint64_t>(negative) << 63;
            return {NumberStatus::Ok, std::bit_cast<double>(std::bit_cast<uint64_t>(value) | sign), p};
        }
        if (mantissa == 0) return {NumberStatus::Ok, negative ? -0.0 : 0.0, p};
    }
    return detail::convertSlow(first, p);
}

}  // namespace orvenda::settings

#endif
