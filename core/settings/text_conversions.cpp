#include "core/settings/text_conversions.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

#include "core/settings/number_token.h"

namespace orvenda::settings {
namespace {

struct Converted {
    std::size_t length;  // of the number at the start of the text; 0 when none
    double value;
    bool overflow;  // beyond the double range; value is then that end of it
};

// The longest number at the start of `text`, read with the one grammar of
// number text. A magnitude below the smallest double reads as a zero.
Converted leadingConverted(std::string_view text) {
    const NumberToken token = readNumber(text.data(), text.data() + text.size());
    const auto length = static_cast<std::size_t>(token.end - text.data());
    switch (token.status) {
    case NumberStatus::Ok: return {length, token.value, false};
    case NumberStatus::Overflow:
        return {length, text[0] == '-' ? std::numeric_limits<double>::lowest() : std::numeric_limits<double>::max(),
                true};
    case NumberStatus::NotANumber: break;
    }
    return {0, 0.0, false};
}

// Splits |value| into 15 significant digits and a decimal exponent.
struct Significant {
    std::string digits;  // 15 digits, the first one non-zero
    int exponent;        // value = d.dddd x 10^exponent
};

Significant significant15(double magnitude) {
    std::array<char, 64> buffer{};
    auto result =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), magnitude, std::chars_format::scientific, 14);
    std::string_view text(buffer.data(), static_cast<std::size_t>(result.ptr - buffer.data()));
    const std::size_t e = text.find('e');
    Significant s;
    s.digits.reserve(15);
    for (std::size_t i = 0; i < e; ++i)
        if (text[i] != '.') s.digits.push_back(text[i]);
    int exponent = 0;
    std::from_chars(text.data() + e + (text[e + 1] == '+' ? 2 : 1), text.data() + text.size(), exponent);
    s.exponent = exponent;
    return s;
}

}  // namespace

double leadingNumber(std::string_view text) {
    std::string cleaned;
    cleaned.reserve(text.size());
    for (char c : text)
        if (c != ' ' && c != '\t' && c != '\n') cleaned.push_back(c);
    return leadingConverted(cleaned).value;
}

std::optional<double> strictNumber(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    if (text.empty()) return std::nullopt;
    const Converted converted = leadingConverted(text);
    if (converted.length != text.size() || converted.overflow) return std::nullopt;
    return converted.value;
}

int32_t roundedInteger(double value) {
    if (std::isnan(value)) return 0;
    double whole = std::floor(value);
    const double fraction = value - whole;  // exact for every double
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(whole, 2.0) != 0.0)) whole += 1.0;
    if (whole >= 2147483647.0) return std::numeric_limits<int32_t>::max();
    if (whole <= -2147483648.0) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(whole);
}

std::string generalNumberText(double value) {
    if (std::isnan(value)) return "NaN";
    if (std::isinf(value)) return value > 0 ? "Infinity" : "-Infinity";
    if (value == 0.0) return "0";  // also for -0.0
    Significant s = significant15(std::fabs(value));
    while (s.digits.size() > 1 && s.digits.back() == '0') s.digits.pop_back();
    std::string out = value < 0 ? "-" : "";
    const int e = s.exponent;
    if (e >= 15 || e < -4) {
        out += s.digits[0];
        if (s.digits.size() > 1) {
            out += '.';
            out.append(s.digits, 1);
        }
        out += e < 0 ? "E-" : "E+";
        const int magnitude = e < 0 ? -e : e;
        if (magnitude < 10) out += '0';
        out += std::to_string(magnitude);
        return out;
    }
    if (e < 0) {
        out += "0.";
        out.append(static_cast<std::size_t>(-e - 1), '0');
        out += s.digits;
        return out;
    }
    const auto integerDigits = static_cast<std::size_t>(e + 1);
    if (s.digits.size() <= integerDigits) {
        out += s.digits;
        out.append(integerDigits - s.digits.size(), '0');
    } else {
        out.append(s.digits, 0, integerDigits);
        out += '.';
        out.append(s.digits, integerDigits);
    }
    return out;
}

std::string fixedDecimalsText(double value, int decimals) {
    decimals = std::clamp(decimals, 1, 30);
    if (!std::isfinite(value)) return generalNumberText(value);
    // 309 integer digits at most, a sign, a point and the decimals.
    std::array<char, 352> buffer{};
    auto result =
        std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, std::chars_format::fixed, decimals);
    std::string text(buffer.data(), static_cast<std::size_t>(result.ptr - buffer.data()));
    bool negative = !text.empty() && text[0] == '-';
    std::string body = negative ? text.substr(1) : text;
    if (body.find_first_not_of("0.") == std::string::npos) negative = false;  // rounds to zero: no "-.000"
    if (body.rfind("0", 0) == 0 && (body.size() == 1 || body[1] == '.'))
        body.erase(0, 1);  // "#" shows no integer digit below 1
    return (negative ? "-" : "") + body;
}

}  // namespace orvenda::settings
