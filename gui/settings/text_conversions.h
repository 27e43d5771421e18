// Text-to-number conversions of the GUI, shared by every window and the command line.
#ifndef ORVENDA_GUI_SETTINGS_TEXT_CONVERSIONS_H
#define ORVENDA_GUI_SETTINGS_TEXT_CONVERSIONS_H

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orvenda::settings {

// Blanks, tabs and line feeds removed wherever they stand, then the longest
// leading number ("." decimal point, optional sign and exponent); 0 when none.
double leadingNumber(std::string_view text);

// The whole text, apart from leading and trailing blanks, must be a number
// (optional sign, digits with at most one ".", optional exponent).
std::optional<double> strictNumber(std::string_view text);

// Nearest int32, an exact half to the even neighbour; beyond the range it
// saturates to the range's end (NaN gives 0).
int32_t roundedInteger(double value);

// 15 significant digits, no trailing zeros or point, "0" before the point
// below 1: 0.5 -> "0.5", 1.0 -> "1", 21.40 -> "21.4".
std::string generalNumberText(double value);

// The "#.000" family of patterns: rounded to `decimals` places, integer digits
// without leading zeros (none at all for magnitudes below 1), exactly
// `decimals` digits after the point.
std::string fixedDecimalsText(double value, int decimals);

}  // namespace orvenda::settings

#endif
