#include "engine/awv_text.h"

#include <cstdio>
#include <algorithm>

namespace halvik {
namespace {

// Wide enough for "%f" of the largest double (309 digits and six decimals).
constexpr std::size_t kLongestNumber = 400;

std::string print(const char* format, double value) {
    char text[kLongestNumber];
    int length = std::snprintf(text, sizeof text, format, value);
    if (length < 0) return {};
    return std::string(text, std::min(static_cast<std::size_t>(length), sizeof text - 1));
}

}  // namespace

std::string formatE(double value) {
    std::string text = print("%E", value);
    // The C library prints at least two exponent digits; the file wants three.
    std::size_t e = text.find('E');
    if (e == std::string::npos || e + 2 > text.size()) return text;  // INF, NAN
    std::size_t digits = text.size() - (e + 2);
    if (digits >= 3) return text;
    return text.substr(0, e + 2) + std::string(3 - digits, '0') + text.substr(e + 2);
}

std::string formatF(double value) { return print("%f", value); }

std::string formatD(int64_t value) { return std::to_string(value); }

std::string waveDataOpening(int64_t byteCount) { return "{WAVEDATA:" + formatD(byteCount) + ";"; }

}  // namespace halvik
