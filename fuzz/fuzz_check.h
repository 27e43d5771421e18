// Shared by the fuzz targets: a check that stops the run with a message, and
// slow, obviously correct references for the decimal number grammar that
// several readers share.
#ifndef ORVENDA_FUZZ_FUZZ_CHECK_H
#define ORVENDA_FUZZ_FUZZ_CHECK_H

#include <cerrno>
#include <cfloat>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

// A broken invariant is a finding: abort, so libFuzzer keeps the input.
#define FUZZ_CHECK(condition, ...)                                                               \
    do {                                                                                         \
        if (!(condition)) {                                                                      \
            std::fprintf(stderr, "%s:%d: check failed: %s\n  ", __FILE__, __LINE__, #condition); \
            std::fprintf(stderr, __VA_ARGS__);                                                   \
            std::fprintf(stderr, "\n");                                                          \
            std::abort();                                                                        \
        }                                                                                        \
    } while (false)

namespace orvenda::fuzz {

inline bool isDecimalDigit(char c) { return c >= '0' && c <= '9'; }

// Length of the longest prefix of `s` of the form [+-] digits [. digits]
// [(e|E) [+-] digits], with at least one mantissa digit; 0 when none. The
// exponent belongs to the number only when it has a digit.
inline std::size_t decimalPrefixLength(std::string_view s) {
    std::size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    std::size_t mantissaDigits = 0;
    while (i < s.size() && isDecimalDigit(s[i])) ++i, ++mantissaDigits;
    if (i < s.size() && s[i] == '.') {
        ++i;
        while (i < s.size() && isDecimalDigit(s[i])) ++i, ++mantissaDigits;
    }
    if (mantissaDigits == 0) return 0;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        std::size_t j = i + 1;
        if (j < s.size() && (s[j] == '+' || s[j] == '-')) ++j;
        if (j < s.size() && isDecimalDigit(s[j])) {
            while (j < s.size() && isDecimalDigit(s[j])) ++j;
            i = j;
        }
    }
    return i;
}

struct Reference {
    double value = 0.0;
    bool overflow = false;  // beyond the double range
};

// The C library's conversion of a text that decimalPrefixLength accepted whole.
inline Reference referenceValue(std::string_view number) {
    std::string text(number);
    errno = 0;
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    Reference reference{value, false};
    if (errno == ERANGE && std::isinf(value)) reference.overflow = true;
    return reference;
}

// Equal (the sign of zero aside), or both in the subnormal range where
// conversions may flush to zero.
inline bool sameNumber(double a, double b) {
    if (a == b) return true;
    return std::fabs(a) < DBL_MIN && std::fabs(b) < DBL_MIN;
}

inline std::string printable(std::string_view text) {
    std::string out;
    for (char c : text.substr(0, 200)) {
        const auto u = static_cast<unsigned char>(c);
        if (u >= 0x20 && u < 0x7f) {
            out += c;
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", u);
            out += hex;
        }
    }
    if (text.size() > 200) out += "...";
    return out;
}

}  // namespace orvenda::fuzz

#endif
