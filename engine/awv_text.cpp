#include "engine/awv_text.h"

#include <charconv>
#include <cmath>

namespace halvik {
namespace {

// Wide enough for "%f" of the largest double (309 digits and six decimals).
constexpr std::size_t kLongestNumber = 400;
constexpr int kDecimals = 6;

// What printf prints for infinity and NaN (glibc keeps the sign of a NaN).
std::string nonFiniteText(double value, bool upperCase) {
    std::string text = std::signbit(value) ? "-" : "";
    text += std::isnan(value) ? (upperCase ? "NAN" : "nan") : (upperCase ? "INF" : "inf");
    return text;
}

// std::to_chars prints as printf does in the "C" locale, whatever locale the
// calling process has set: the point is always ".".
std::string print(double value, std::chars_format format) {
    char text[kLongestNumber];
    const std::to_chars_result result = std::to_chars(text, text + sizeof text, value, format, kDecimals);
    if (result.ec != std::errc()) return {};
    return std::string(text, result.ptr);
}

}  // namespace

std::string formatE(double value) {
    if (!std::isfinite(value)) return nonFiniteText(value, true);
    std::string text = print(value, std::chars_format::scientific);
    // "1.000000e+00": the file wants "E" and at least three exponent digits.
    const std::size_t e = text.find('e');
    if (e == std::string::npos || e + 2 > text.size()) return text;
    text[e] = 'E';
    const std::size_t digits = text.size() - (e + 2);
    if (digits < 3) text.insert(e + 2, 3 - digits, '0');
    return text;
}

std::string formatF(double value) {
    if (!std::isfinite(value)) return nonFiniteText(value, false);
    return print(value, std::chars_format::fixed);
}

std::string formatD(int64_t value) { return std::to_string(value); }

std::string waveDataOpening(int64_t byteCount) { return "{WAVEDATA:" + formatD(byteCount) + ";"; }

}  // namespace halvik
