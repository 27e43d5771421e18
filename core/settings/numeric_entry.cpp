#include "core/settings/numeric_entry.h"

#include <cmath>
#include <cstdlib>
#include <limits>

#include "core/settings/field_limits.h"
#include "core/settings/text_conversions.h"

namespace orvenda::settings {
namespace {

constexpr double kInt32Max = 2147483647.0;
constexpr double kInt32Min = -2147483648.0;

int32_t clampToInt32(double r) {
    if (std::isnan(r)) return 0;
    if (r > kInt32Max) return std::numeric_limits<int32_t>::max();
    if (r < kInt32Min) return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(r);
}

// Offsets and output levels: limit, then snap to the 5 mV step (SetRes5).
// All four limits are multiples of the step, so the step keeps the value in range.
static_assert(kOffsetLimits.step == 5 && kOutputLevelLimits.step == 5, "SetRes5 snaps to steps of 5");
static_assert(static_cast<int32_t>(kOffsetLimits.high) % 5 == 0 &&
              static_cast<int32_t>(kOutputLevelLimits.low) % 5 == 0);
std::string steppedLevel(std::string_view text, const FieldLimits& limits) {
    const int32_t n = Long_limit(text);
    const auto limited = static_cast<int32_t>(MaxMin_Limit(n, limits.high, limits.low));
    return std::to_string(SetRes5(limited));
}

// Loop count and data size: whole numbers pulled into their range.
std::string limitedCount(std::string_view text, const FieldLimits& limits) {
    const auto maxlim = static_cast<int32_t>(limits.high);
    const auto minlim = static_cast<int32_t>(limits.low);
    const int32_t n = Long_limit(text);
    if (n > maxlim) return std::to_string(maxlim);
    if (n < minlim) return std::to_string(minlim);
    return std::to_string(n);
}

std::string limitedGeneral(std::string_view text, const FieldLimits& limits) {
    const double v = leadingNumber(text);
    if (v > limits.high) return limitText(limits.high);
    if (v < limits.low) return limitText(limits.low);
    return generalNumberText(v);
}

}  // namespace

// floor(x + 0.5) would round the sum first: 0.49999999999999994 would give 1
// and odd whole numbers from 2^52 on would grow by one. The fraction x -
// floor(x) is exact, so comparing it with 0.5 gives the true half rule.
double round2(double inval) {
    const double magnitude = std::fabs(inval);
    double whole = std::floor(magnitude);
    if (magnitude - whole >= 0.5) whole += 1.0;
    return inval > 0 ? whole : -whole;
}

int32_t Long_limit(std::string_view inval) { return clampToInt32(round2(leadingNumber(inval))); }

int32_t Long_limit(double inval) {
    if (!std::isfinite(inval)) return clampToInt32(inval);
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
    if (result < std::numeric_limits<int32_t>::min()) result = std::numeric_limits<int32_t>::min() + 3;
    return static_cast<int32_t>(result);
}

double MaxMin_Limit(double inval, double maxlim, double minlim) {
    if (inval > maxlim) return maxlim;
    if (inval < minlim) return minlim;
    return inval;
}

std::string enteredText(EntryField field, std::string_view text) {
    switch (field) {
    case EntryField::AWGGain: return limitedGeneral(text, kDataFullScaleLimits);
    case EntryField::Fs: {
        // Written back as the general text first, then through "#.00000000000"
        // and "#.000000000000": the field always ends in one 0 after 11 decimals.
        const std::string general = limitedGeneral(text, kSamplingFreqMHzLimits);
        const std::string eleven = fixedDecimalsText(leadingNumber(general), 11);
        return fixedDecimalsText(leadingNumber(eleven), 12);
    }
    case EntryField::IFFreq: return generalNumberText(leadingNumber(text));
    case EntryField::IOffset:
    case EntryField::QOffset: return steppedLevel(text, kOffsetLimits);
    case EntryField::IOutput:
    case EntryField::QOutput: return steppedLevel(text, kOutputLevelLimits);
    case EntryField::LoopNum: return limitedCount(text, kLoopCountLimits);
    case EntryField::DataSizeI: return limitedCount(text, kDataSizeLimits);
    }
    return std::string(text);
}

}  // namespace orvenda::settings
