// The data-size rules of the loads: the multiple-of-4 check and rounding,
// "Specify Data Size", and their messages.
#ifndef ORVENDA_GUI_INPUT_SIZE_RULES_H
#define ORVENDA_GUI_INPUT_SIZE_RULES_H

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orvenda::input {

// Message texts, exactly as the program has always shown them.
inline constexpr char kDataSizeOverText[] = "data size over";
inline constexpr char kNotMultipleOf4Text[] = "Data Size is not nultiple of 4.";
inline constexpr char kWarningCaption[] = "Warning!";

constexpr bool isMultipleOf4(int64_t count) { return count % 4 == 0; }

// The next multiple of 4 at or above `count` (5, 6 and 7 give 8), which is
// what the warning announces. Near the top of the int32 range, where no
// larger multiple exists, the largest one.
int32_t roundUpToMultipleOf4(int32_t count);

// The size typed for "Specify Data Size": the rounded integer of the strict
// number of the text; nothing when the text is not a number or the size is
// below 1.
std::optional<int32_t> specifiedDataSize(std::string_view text);
// Why specifiedDataSize() refused `text`.
std::string specifiedDataSizeErrorText(std::string_view text);

}  // namespace orvenda::input

#endif
