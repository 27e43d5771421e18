#include "core/settings/numeric_entry.h"

#include <cmath>
#include <cstdlib>
#include <limits>

#include "core/settings/text_conversions.h"

namespace orvenda::settings {
namespace {

constexpr double kInt32Max = 2147483647.0;
constexpr double kInt32Min = -2147483648.0;

int32_t clampToInt32(double r) {
    if (std::isnan(r))
        return 0;
    if (r > kInt32Max)
        return std::numeric_limits<int32_t>::max();
    if (r < kInt32Min)
        return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(r);
}

// Offsets and output levels: limit, then snap to the 5 mV step. All four
// limits are multiples of 5, so the step keeps the value in range.
std::string steppedLevel(std::string_view text, double maxlim, double minlim) {
    const int32_t n = Long_limit(text);
    const auto limited = static_cast<int32_t>(MaxMin_Limit(n, maxlim, minlim));
    return std::to_string(SetRes5(limited));
}

// Loop count and data size: whole numbers pulled into their range.
std::string limitedCount(std::string_view text, int32_t maxlim, int32_t minlim) {
    const int32_t n = Long_limit(text);
    if (n > maxlim)
        return std::to_string(maxlim);
    if (n < minlim)
        return std::to_string(minlim);
    return std::to_string(n);
}

std::string limitedGeneral(std::string_view text, double maxlim, const char* maxText, double minlim,
                           const char* minText) {
    const double v = leadingNumber(text);
    if (v > maxlim)
        return maxText;
    if (v < minlim)
        return minText;
    return generalNumberText(v);
}

}  // namespace

// floor(x + 0.5) would round the sum first: 0.49999999999999994 would give 1
// and odd whole numbers from 2^52 on would grow by one. The fraction x -
// floor(x) is exact, so comparing it with 0.5 gives the true half rule.
double round2(double inval) {
    const double magnitude = std::fabs(inval);
    double whole = std::floor(magnitude);
    if (magnitude - whole >= 0.5)
        whole += 1.0;
    return inval > 0 ? whole : -whole;
}

int32_t Long_limit(std::string_view inval) { return clampToInt32(round2(leadingNumber(inval))); }

int32_t Long_limit(double inval) {
    if (!std::isfinite(inval))
        return clampToInt32(inval);
    return Long_limit(std::string_view(generalNumberText(inval)));
}

int32_t SetRes5(int32_t intxt) {
    const auto value = static_cast<int64_t>(intxt);
    const int64_t r = std::llabs(value % 10);
    const bool positive = value > 0;
    int64_t result = 0;
    if (r <= 2)
        result = positive ? value - r : value + r;
    else if (r <= 7)
        result = positive ? value - r + 5 : value + r - 5;
    else
        result = positive ? value - r + 10 : value + r - 10;
    // Only -2147483648 (last digit 8) reaches -2147483650.
    if (result < std::numeric_limits<int32_t>::min())
        result = std::numeric_limits<int32_t>::min() + 3;
    return static_cast<int32_t>(result);
}

double MaxMin_Limit(double inval, double maxlim, double minlim) {
    if (inval > maxlim)
        return maxlim;
    if (inval < minlim)
        return minlim;
    return inval;
}

std::string enteredText(EntryField field, std::string_view text) {
    switch (field) {
    case EntryField::AWGGain:
        return limitedGeneral(text, 1.0, "1", 0.0, "0");
    case EntryField::Fs: {
        // Written back as the general text first, then through "#.00000000000"
        // and "#.000000000000": the field always ends in one 0 after 11 decimals.
        const std::string general = limitedGeneral(text, 200.0, "200", 12.5, "12.5");
        const std::string eleven = fixedDecimalsText(leadingNumber(general), 11);
        return fixedDecimalsText(leadingNumber(eleven), 12);
    }
    case EntryField::IFFreq:
        return generalNumberText(leadingNumber(text));
    case EntryField::IOffset:
    case EntryField::QOffset:
        return steppedLevel(text, 750.0, -750.0);
    case EntryField::IOutput:
    case EntryField::QOutput:
        return steppedLevel(text, 2000.0, 200.0);
    case EntryField::LoopNum:
        return limitedCount(text, 65536, 1);
    case EntryField::DataSizeI:
        return limitedCount(text, 67108864, 4);
    }
    return std::string(text);
}

}  // namespace orvenda::settings
