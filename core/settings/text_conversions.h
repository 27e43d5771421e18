// Text-to-number conversions of the GUI, shared by every window and the
// command line. All of them are independent of the C locale: Qt sets the
// user's locale at start, yet the decimal point here is always ".".
#ifndef ORVENDA_GUI_SETTINGS_TEXT_CONVERSIONS_H
#define ORVENDA_GUI_SETTINGS_TEXT_CONVERSIONS_H

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orvenda::settings {

// Blanks, tabs and line feeds removed wherever they stand, then the longest
// leading number ("." decimal point, optional sign, exponent letter E or e
// with optional sign); 0 when none. Never fails: a magnitude beyond the
// double range gives the largest finite double of that sign, one below the
// smallest gives 0.
double leadingNumber(std::string_view text);

// The whole text, apart from leading and trailing blanks and tabs, must be a
// number (optional sign, digits with at most one ".", optional exponent).
// A number beyond the double range fails too.
std::optional<double> strictNumber(std::string_view text);

// Nearest int32, an exact half to the even neighbour (2.5 -> 2, 3.5 -> 4,
// -2.5 -> -2); beyond the range it saturates to the range's end, NaN gives 0.
int32_t roundedInteger(double value);

// 15 significant digits, no trailing zeros or point, "0" before the point
// below 1: 0.5 -> "0.5", 1.0 -> "1", 21.40 -> "21.4". Magnitudes from 1e15
// up and below 1e-4 are written with an exponent: "1E+15", "1.5E-05".
std::string generalNumberText(double value);

// The "#.000" family of patterns: rounded to `decimals` places (1 to 30),
// integer digits without leading zeros (none at all for magnitudes below 1),
// exactly `decimals` digits after the point: (12.5, 3) -> "12.500",
// (0.25, 2) -> ".25". A value that rounds to zero carries no sign.
std::string fixedDecimalsText(double value, int decimals);

}  // namespace orvenda::settings

#endif
