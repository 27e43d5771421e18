#include "engine/text_number.h"

#include <charconv>
#include <cmath>

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

}  // namespace

ParsedNumber parseDecimalPrefix(const char* begin, const char* end) {
    const char* p = begin;
    bool negative = false;
    if (p != end && (*p == '+' || *p == '-')) {
        negative = *p == '-';
        ++p;
    }
    // from_chars would also take "inf", "nan" and a second sign: only a digit,
    // or a point followed by a digit, may start the number.
    if (p == end || !(isDigit(*p) || (*p == '.' && p + 1 != end && isDigit(p[1])))) return {0.0, begin};
    double value = 0.0;
    auto [next, error] = std::from_chars(p, end, value, std::chars_format::general);
    if (next == p) return {0.0, begin};
    // Out of range leaves value untouched where atof gives infinity (counted as
    // 0.0, like every non-finite input) or an underflowed zero: 0.0 either way.
    if (error == std::errc::result_out_of_range || !std::isfinite(value)) value = 0.0;
    return {negative ? -value : value, next};
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
