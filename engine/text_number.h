// Numbers of the text layouts, read as C's atof reads them: leading white
// space skipped, an optional sign ("+" too), the longest decimal prefix with
// optional point and exponent. No inf, nan or hexadecimal forms. A value that
// overflows, or a text without a number, gives 0.0.
#ifndef ORVENDA_ENGINE_TEXT_NUMBER_H
#define ORVENDA_ENGINE_TEXT_NUMBER_H

#include <string_view>

namespace halvik {

struct ParsedNumber {
    double value;
    const char* end;  // first character after the number (its start when none)
};

// Reads a decimal number that starts exactly at begin (sign allowed, no blanks).
ParsedNumber parseDecimalPrefix(const char* begin, const char* end);

// A single-column line: the whole line by the atof rules.
double parseSingleColumnLine(std::string_view line);

struct SamplePair {
    double i;
    double q;
};

// A two-column line: tokens split at runs of "\t ,:;"; the first is I, the
// second Q, each by the atof rules. A missing token reads as 0.0.
SamplePair parseTwoColumnLine(std::string_view line);

}  // namespace halvik

#endif
