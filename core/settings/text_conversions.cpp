#include "core/settings/text_conversions.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>
#include <system_error>

namespace orvenda::settings {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Length of the longest prefix of `s` that forms a number: optional sign,
// digits with at most one ".", then an exponent only when it is complete.
// 0 when the prefix holds no mantissa digit.
std::size_t scanNumber(std::string_view s) {
    std::size_t i = 0;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        ++i;
    bool digits = false;
    bool point = false;
    for (; i < s.size(); ++i) {
        if (isDigit(s[i])) {
            digits = true;
        } else if (s[i] == '.' && !point) {
            point = true;
        } else {
            break;
        }
    }
    if (!digits)
        return 0;
    if (i < s.size() && (s[i] == 'E' || s[i] == 'e')) {
        std::size_t j = i + 1;
        if (j < s.size() && (s[j] == '+' || s[j] == '-'))
            ++j;
        if (j < s.size() && isDigit(s[j])) {
            while (j < s.size() && isDigit(s[j]))
                ++j;
            i = j;
        }
    }
    return i;
}

// Whether a scanned number whose conversion was out of range is too large
// (rather than too small). With the mantissa read as 0.ddd x 10^order (order
// = integer digits after leading zeros, or minus the zeros right after the
// point), the number is large when order + exponent > 0.
bool orderIsPositive(std::string_view number) {
    long long order = 0;
    bool seenNonZero = false;
    bool afterPoint = false;
    std::size_t i = (number[0] == '+' || number[0] == '-') ? 1 : 0;
    for (; i < number.size() && number[i] != 'e' && number[i] != 'E'; ++i) {
        if (number[i] == '.') {
            afterPoint = true;
        } else if (!seenNonZero && number[i] != '0') {
            seenNonZero = true;
            if (!afterPoint)
                order += 1;
        } else if (seenNonZero && !afterPoint) {
            order += 1;
        } else if (!seenNonZero && afterPoint) {
            order -= 1;
        }
    }
    long long exponent = 0;
    bool negativeExponent = false;
    if (i < number.size()) {
        ++i;
        if (number[i] == '+' || number[i] == '-')
            negativeExponent = number[i++] == '-';
        // Capped: a few thousand already leaves the double range either way.
        for (; i < number.size(); ++i)
            exponent = std::min(exponent * 10 + (number[i] - '0'), 1'000'000LL);
    }
    return order + (negativeExponent ? -exponent : exponent) > 0;
}

struct Converted {
    double value;
    bool overflow;
};

// Converts a text accepted by scanNumber. from_chars takes no "+" sign and
// ignores the locale.
Converted convertScanned(std::string_view number) {
    const bool negative = number[0] == '-';
    if (number[0] == '+')
        number.remove_prefix(1);
    double value = 0.0;
    auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), value,
                                     std::chars_format::general);
    (void)end;
    if (ec == std::errc::result_out_of_range) {
        if (orderIsPositive(number))
            return {negative ? std::numeric_limits<double>::lowest() : std::numeric_limits<double>::max(), true};
        return {negative ? -0.0 : 0.0, false};
    }
    return {value, false};
}

// Splits |value| into 15 significant digits and a decimal exponent.
struct Significant {
    std::string digits;  // 15 digits, the first one non-zero
    int exponent;        // value = d.dddd x 10^exponent
};

Significant significant15(double magnitude) {
    std::array<char, 64> buffer{};
    auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), magnitude,
                                std::chars_format::scientific, 14);
    std::string_view text(buffer.data(), static_cast<std::size_t>(result.ptr - buffer.data()));
    const std::size_t e = text.find('e');
    Significant s;
    s.digits.reserve(15);
    for (std::size_t i = 0; i < e; ++i)
        if (text[i] != '.')
            s.digits.push_back(text[i]);
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
        if (c != ' ' && c != '\t' && c != '\n')
            cleaned.push_back(c);
    const std::size_t length = scanNumber(cleaned);
    if (length == 0)
        return 0.0;
    return convertScanned(std::string_view(cleaned).substr(0, length)).value;
}

std::optional<double> strictNumber(std::string_view text) {
    const auto blank = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && blank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && blank(text.back()))
        text.remove_suffix(1);
    if (text.empty() || scanNumber(text) != text.size())
        return std::nullopt;
    const Converted converted = convertScanned(text);
    if (converted.overflow)
        return std::nullopt;
    return converted.value;
}

int32_t roundedInteger(double value) {
    if (std::isnan(value))
        return 0;
    double whole = std::floor(value);
    const double fraction = value - whole;  // exact for every double
    if (fraction > 0.5 || (fraction == 0.5 && std::fmod(whole, 2.0) != 0.0))
        whole += 1.0;
    if (whole >= 2147483647.0)
        return std::numeric_limits<int32_t>::max();
    if (whole <= -2147483648.0)
        return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(whole);
}

std::string generalNumberText(double value) {
    if (std::isnan(value))
        return "NaN";
    if (std::isinf(value))
        return value > 0 ? "Infinity" : "-Infinity";
    if (value == 0.0)
        return "0";  // also for -0.0
    Significant s = significant15(std::fabs(value));
    while (s.digits.size() > 1 && s.digits.back() == '0')
        s.digits.pop_back();
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
        if (magnitude < 10)
            out += '0';
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
    if (!std::isfinite(value))
        return generalNumberText(value);
    // 309 integer digits at most, a sign, a point and the decimals.
    std::array<char, 352> buffer{};
    auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                std::chars_format::fixed, decimals);
    std::string text(buffer.data(), static_cast<std::size_t>(result.ptr - buffer.data()));
    bool negative = !text.empty() && text[0] == '-';
    std::string body = negative ? text.substr(1) : text;
    if (body.find_first_not_of("0.") == std::string::npos)
        negative = false;  // rounds to zero: no "-.000"
    if (body.rfind("0", 0) == 0 && (body.size() == 1 || body[1] == '.'))
        body.erase(0, 1);  // "#" shows no integer digit below 1
    return (negative ? "-" : "") + body;
}

}  // namespace orvenda::settings
