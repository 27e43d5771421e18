#include "core/settings/number_token.h"

#include <algorithm>
#include <charconv>
#include <system_error>

namespace orvenda::settings::detail {
namespace {

// With the number written as 0.ddd x 10^k (first d non-zero), whether k > 0,
// that is whether an out-of-range number is too large rather than too small.
bool isLargeOrder(const char* first, const char* end) {
    const char* p = first;
    if (*p == '+' || *p == '-') ++p;
    long long order = 0;
    bool nonZeroSeen = false;
    bool afterPoint = false;
    for (; p < end && *p != 'e' && *p != 'E'; ++p) {
        if (*p == '.')
            afterPoint = true;
        else if (!afterPoint && (nonZeroSeen || *p != '0'))
            ++order;
        else if (afterPoint && !nonZeroSeen && *p == '0')
            --order;
        if (*p != '.' && *p != '0') nonZeroSeen = true;
    }
    long long exponent = 0;
    bool negative = false;
    if (p < end) {
        ++p;
        if (*p == '+' || *p == '-') negative = *p++ == '-';
        for (; p < end; ++p)  // capped: far beyond the double range either way
            exponent = std::min(exponent * 10 + (*p - '0'), 1'000'000LL);
    }
    return order + (negative ? -exponent : exponent) > 0;
}

}  // namespace

NumberToken convertSlow(const char* first, const char* end) {
    // from_chars takes no "+" sign and, unlike strtod, ignores the locale.
    const char* start = (*first == '+') ? first + 1 : first;
    double value = 0.0;
    const auto [ptr, ec] = std::from_chars(start, end, value, std::chars_format::general);
    (void)ptr;
    if (ec == std::errc::result_out_of_range) {
        if (isLargeOrder(first, end)) return {NumberStatus::Overflow, 0.0, end};
        return {NumberStatus::Ok, *first == '-' ? -0.0 : 0.0, end};  // below the smallest double
    }
    if (ec != std::errc{}) return {NumberStatus::NotANumber, 0.0, first};
    return {NumberStatus::Ok, value, end};
}

}  // namespace orvenda::settings::detail
