#include "engine/text_number.h"

#include <algorithm>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>

namespace halvik {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The white space of C's isspace in the "C" locale.
bool isSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

bool isSeparator(char c) { return c == ' ' || c == '\t' || c == ',' || c == ':' || c == ';'; }

// Inside a token atof still skips the white space that is no separator.
const char* skipTokenSpace(const char* p, const char* end) {
    while (p != end && isSpace(*p) && !isSeparator(*p)) ++p;
    return p;
}

// Clinger's fast path: a decimal of at most 19 digits whose value
// is m * 10^e with m < 2^53 and |e| <= 22 is exactly one correctly rounded
// multiplication or division of two exact doubles. Covers the numbers sample
// files hold; anything else goes to from_chars. nullptr when not taken.
const char* parseSimpleDecimal(const char* p, const char* end, double& value) {
    static constexpr double kPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                         1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    // Every digit goes into the mantissa, leading zeros too; past 19 digits
    // it may have wrapped (unsigned, so defined) and from_chars takes over.
    uint64_t mantissa = 0;
    const char* start = p;
    for (; p != end && isDigit(*p); ++p) mantissa = mantissa * 10 + static_cast<uint64_t>(*p - '0');
    std::ptrdiff_t digits = p - start;
    int exponent = 0;
    if (p != end && *p == '.') {
        const char* fraction = ++p;
        for (; p != end && isDigit(*p); ++p) mantissa = mantissa * 10 + static_cast<uint64_t>(*p - '0');
        exponent = -static_cast<int>(std::min<std::ptrdiff_t>(p - fraction, 100000));
        digits += p - fraction;
    }
    if (digits > 19) return nullptr;
    if (p != end && (*p == 'e' || *p == 'E')) {
        const char* q = p + 1;
        bool negative = false;
        if (q != end && (*q == '+' || *q == '-')) negative = *q++ == '-';
        if (q != end && isDigit(*q)) {
            int written = 0;
            for (; q != end && isDigit(*q); ++q) {
                if (written > 9999) return nullptr;
                written = written * 10 + (*q - '0');
            }
            exponent += negative ? -written : written;
            p = q;
        }
    }
    if (mantissa == 0) {
        value = 0.0;
        return p;
    }
    if (mantissa > (uint64_t{1} << 53) || exponent < -22 || exponent > 22) return nullptr;
    double m = static_cast<double>(mantissa);
    value = exponent < 0 ? m / kPowers[-exponent] : m * kPowers[exponent];
    return p;
}

// Signs of sample values are random, so the sign is taken without a branch
// the processor would mispredict half the time.
double withSign(double value, bool negative) {
    return std::bit_cast<double>(std::bit_cast<uint64_t>(value) ^ (static_cast<uint64_t>(negative) << 63));
}

}  // namespace

ParsedNumber parseDecimalPrefix(const char* begin, const char* end) {
    const char* p = begin;
    const char first = p != end ? *p : '\0';
    const bool negative = first == '-';
    p += static_cast<std::ptrdiff_t>(negative || first == '+');
    // from_chars would also take "inf", "nan" and a second sign: only a digit,
    // or a point followed by a digit, may start the number.
    if (p == end || !(isDigit(*p) || (*p == '.' && p + 1 != end && isDigit(p[1])))) return {0.0, begin};
    double value = 0.0;
    if (const char* next = parseSimpleDecimal(p, end, value)) return {withSign(value, negative), next};
    auto [next, error] = std::from_chars(p, end, value, std::chars_format::general);
    if (next == p) return {0.0, begin};
    // Out of range leaves value untouched where atof gives infinity (counted as
    // 0.0, like every non-finite input) or an underflowed zero: 0.0 either way.
    if (error == std::errc::result_out_of_range || !std::isfinite(value)) value = 0.0;
    return {withSign(value, negative), next};
}

double parseSingleColumnLine(std::string_view line) {
    const char* p = line.data();
    const char* end = p + line.size();
    while (p != end && isSpace(*p)) ++p;
    return parseDecimalPrefix(p, end).value;
}

SamplePair parseTwoColumnLine(std::string_view line) {
    const char* p = line.data();
    const char* end = p + line.size();
    SamplePair pair{0.0, 0.0};
    while (p != end && isSeparator(*p)) ++p;
    // A NUL ends the text of a line, as it ends a C string.
    if (p == end || *p == '\0') return pair;
    ParsedNumber first = parseDecimalPrefix(skipTokenSpace(p, end), end);
    pair.i = first.value;
    p = first.end > p ? first.end : p;
    while (p != end && !isSeparator(*p) && *p != '\0') ++p;
    while (p != end && isSeparator(*p)) ++p;
    if (p == end || *p == '\0') return pair;
    pair.q = parseDecimalPrefix(skipTokenSpace(p, end), end).value;
    return pair;
}

}  // namespace halvik
