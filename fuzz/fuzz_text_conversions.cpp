// The GUI's text-to-number conversions and the number texts they read back.
// strictNumber and leadingNumber are compared with the C library's strtod on
// the same number; roundedInteger with rint; the number texts must read back
// as the value they show.
#include <algorithm>
#include <cfloat>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <string_view>

#include <fuzzer/FuzzedDataProvider.h>

#include "core/settings/text_conversions.h"
#include "fuzz/fuzz_check.h"

using namespace orvenda::fuzz;
namespace settings = orvenda::settings;

namespace {

std::optional<double> referenceStrict(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    if (text.empty() || decimalPrefixLength(text) != text.size()) return std::nullopt;
    const Reference reference = referenceValue(text);
    if (reference.overflow) return std::nullopt;
    return reference.value;
}

double referenceLeading(std::string_view text) {
    std::string cleaned;
    for (char c : text)
        if (c != ' ' && c != '\t' && c != '\n') cleaned += c;
    const std::size_t length = decimalPrefixLength(cleaned);
    if (length == 0) return 0.0;
    const Reference reference = referenceValue(std::string_view(cleaned).substr(0, length));
    if (reference.overflow) return reference.value > 0 ? DBL_MAX : -DBL_MAX;
    return reference.value;
}

int32_t referenceRounded(double value) {
    if (std::isnan(value)) return 0;
    const double rounded = std::nearbyint(value);
    if (rounded >= 2147483647.0) return std::numeric_limits<int32_t>::max();
    if (rounded <= -2147483648.0) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(rounded);
}

void checkRounded(double value) {
    const int32_t got = settings::roundedInteger(value);
    FUZZ_CHECK(got == referenceRounded(value), "roundedInteger(%.17g) = %d, expected %d", value, got,
               referenceRounded(value));
}

// The 15-digit text reads back to the value within its rounding.
void checkGeneralText(double value) {
    const std::string text = settings::generalNumberText(value);
    if (!std::isfinite(value)) {
        FUZZ_CHECK(text == (std::isnan(value) ? "NaN"
                            : value > 0       ? "Infinity"
                                              : "-Infinity"),
                   "text of %g: %s", value, text.c_str());
        return;
    }
    const std::optional<double> back = settings::strictNumber(text);
    // DBL_MAX rounded to 15 digits lies beyond the double range.
    if (!back) {
        FUZZ_CHECK(std::fabs(value) > 1.797693134862315e308, "generalNumberText(%.17g) = \"%s\" is no number", value,
                   text.c_str());
        return;
    }
    FUZZ_CHECK(std::fabs(*back - value) <= std::max(std::fabs(value) * 5.5e-15, DBL_MIN),
               "generalNumberText(%.17g) = \"%s\" reads %.17g", value, text.c_str(), *back);
    FUZZ_CHECK(text.size() <= 22 && text.find_first_of(" \t") == std::string::npos, "generalNumberText \"%s\"",
               text.c_str());
}

// "#.000": exactly `decimals` digits after the point, no leading zero, the
// value within half a unit of the last place.
void checkFixedText(double value, int decimals) {
    const std::string text = settings::fixedDecimalsText(value, decimals);
    if (!std::isfinite(value)) return;
    const std::size_t point = text.find('.');
    FUZZ_CHECK(point != std::string::npos && text.size() - point - 1 == static_cast<std::size_t>(decimals),
               "fixedDecimalsText(%.17g, %d) = \"%s\"", value, decimals, text.c_str());
    const std::size_t digitsFrom = text[0] == '-' ? 1 : 0;
    FUZZ_CHECK(text[digitsFrom] != '0', "fixedDecimalsText(%.17g, %d) = \"%s\" has a leading zero", value, decimals,
               text.c_str());
    const std::optional<double> back = settings::strictNumber(text);
    FUZZ_CHECK(back.has_value(), "fixedDecimalsText(%.17g, %d) = \"%s\" is no number", value, decimals, text.c_str());
    const double unit = std::pow(10.0, -decimals);
    // Up to 309 integer digits and 30 decimals: all of them are exact digits of
    // the value, so it reads back within the rounding of the last place.
    FUZZ_CHECK(std::fabs(*back - value) <= unit * 0.5000001 + std::fabs(value) * 4 * DBL_EPSILON,
               "fixedDecimalsText(%.17g, %d) = \"%s\"", value, decimals, text.c_str());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    FuzzedDataProvider provider(data, size);
    const int decimals = provider.ConsumeIntegralInRange<int>(1, 30);
    // Any bit pattern, NaN and infinities included.
    const double raw = provider.ConsumeFloatingPoint<double>();
    const std::string text = provider.ConsumeRemainingBytesAsString();

    const std::optional<double> strict = settings::strictNumber(text);
    const std::optional<double> expected = referenceStrict(text);
    FUZZ_CHECK(strict.has_value() == expected.has_value(), "strictNumber(\"%s\"): %d, expected %d",
               printable(text).c_str(), strict.has_value(), expected.has_value());
    if (strict) {
        FUZZ_CHECK(sameNumber(*strict, *expected) && std::isfinite(*strict),
                   "strictNumber(\"%s\") = %.17g, expected %.17g", printable(text).c_str(), *strict, *expected);
    }
    const double leading = settings::leadingNumber(text);
    FUZZ_CHECK(std::isfinite(leading) && sameNumber(leading, referenceLeading(text)),
               "leadingNumber(\"%s\") = %.17g, expected %.17g", printable(text).c_str(), leading,
               referenceLeading(text));

    for (double value : {raw, leading}) {
        checkRounded(value);
        checkGeneralText(value);
        checkFixedText(value, decimals);
    }
    return 0;
}
