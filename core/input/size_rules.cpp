#include "core/input/size_rules.h"

#include <limits>

#include "core/settings/text_conversions.h"

namespace orvenda::input {

int32_t roundUpToMultipleOf4(int32_t count) {
    constexpr int32_t kLargestMultiple = std::numeric_limits<int32_t>::max() / 4 * 4;
    if (count > kLargestMultiple) return kLargestMultiple;
    const int32_t remainder = count % 4;
    if (remainder == 0) return count;
    return remainder > 0 ? count + (4 - remainder) : count - remainder;
}

std::optional<int32_t> specifiedDataSize(std::string_view text) {
    const std::optional<double> number = settings::strictNumber(text);
    if (!number) return std::nullopt;
    const int32_t size = settings::roundedInteger(*number);
    if (size < 1) return std::nullopt;
    return size;
}

std::string specifiedDataSizeErrorText(std::string_view text) {
    std::string message = "Specify Data Size: \"";
    message += text;
    message += settings::strictNumber(text) ? "\" gives fewer than 1 sample." : "\" is not a number.";
    return message;
}

}  // namespace orvenda::input
