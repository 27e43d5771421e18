// Reading one number of an input text file in place. The grammar is the
// program's strict number: optional sign, digits with at most one ".", and an
// exponent only when it is complete ("1e" is the number 1 followed by "e").
// Common short decimals are converted directly (exact: a mantissa of at most
// 2^53 and a power of ten up to 1e22 are both exact doubles, and one IEEE
// multiplication or division rounds correctly); the rest goes to from_chars.
#ifndef ORVENDA_GUI_INPUT_NUMBER_TOKEN_H
#define ORVENDA_GUI_INPUT_NUMBER_TOKEN_H

#include <cstdint>

namespace orvenda::input {

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
inline constexpr double kExactPowersOf10[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                              1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                              1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
inline bool isDigit(char c) { return static_cast<unsigned char>(c - '0') < 10; }
// Converts [first, end) that the grammar accepted, through from_chars.
NumberToken convertSlow(const char* first, const char* end);
}  // namespace detail

// Reads the longest number at the start of [first, last).
inline NumberToken readNumber(const char* first, const char* last) {
    using detail::isDigit;
    const char* p = first;
    bool negative = false;
    if (p < last && (*p == '+' || *p == '-')) {
        negative = *p == '-';
        ++p;
    }
    uint64_t mantissa = 0;
    int significant = 0;   // digits taken into the mantissa, leading zeros excluded
    int exponent10 = 0;    // from the point and from digits beyond 19
    bool anyDigit = false;
    bool exact = true;
    for (; p < last && isDigit(*p); ++p) {
        anyDigit = true;
        if (significant < 19) {
            mantissa = mantissa * 10 + static_cast<uint64_t>(*p - '0');
            significant += mantissa != 0;
        } else {
            exact = false;
        }
    }
    if (p < last && *p == '.') {
        ++p;
        for (; p < last && isDigit(*p); ++p) {
            anyDigit = true;
            if (significant < 19) {
                mantissa = mantissa * 10 + static_cast<uint64_t>(*p - '0');
                significant += mantissa != 0;
                --exponent10;
            } else {
                exact = false;
            }
        }
    }
    if (!anyDigit)
        return {NumberStatus::NotANumber, 0.0, first};
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
                if (e < 100000)
                    e = e * 10 + (*q - '0');
            exponent10 += negativeExponent ? -e : e;
            p = q;
        }
    }
    if (exact && mantissa <= (uint64_t{1} << 53) && exponent10 >= -22 && exponent10 <= 22) {
        double value = static_cast<double>(mantissa);
        if (exponent10 >= 0)
            value *= detail::kExactPowersOf10[exponent10];
        else
            value /= detail::kExactPowersOf10[-exponent10];
        return {NumberStatus::Ok, negative ? -value : value, p};
    }
    if (exact && mantissa == 0)
        return {NumberStatus::Ok, negative ? -0.0 : 0.0, p};
    return detail::convertSlow(first, p);
}

}  // namespace orvenda::input

#endif
