// The Enter rules of the panel's numeric fields and the numeric functions
// they use. Plain functions without state, so the command line shares them.
#ifndef ORVENDA_GUI_SETTINGS_NUMERIC_ENTRY_H
#define ORVENDA_GUI_SETTINGS_NUMERIC_ENTRY_H

#include <cstdint>
#include <string>
#include <string_view>

namespace orvenda::settings {

// Halves away from zero: 2.5 -> 3, -2.5 -> -3 (unlike roundedInteger, which
// sends halves to the even neighbour; both rules are used on purpose).
double round2(double inval);
// round2 of the leading number of the text, clamped to the int32 range.
int32_t Long_limit(std::string_view inval);
// A number goes the same way through its general number text, so it is
// read with 15 significant digits, as a field showing it would be. NaN gives 0.
int32_t Long_limit(double inval);
// Nearest multiple of 5, symmetric about zero, decided by the last digit:
// 12 -> 10, 13 -> 15, 18 -> 20, -13 -> -15. The one value whose result leaves
// the int32 range, -2147483648, gives the nearest multiple inside it.
int32_t SetRes5(int32_t intxt);
// The upper limit is tested first.
double MaxMin_Limit(double inval, double maxlim, double minlim);

// The fields with an Enter rule.
enum class EntryField {
    AWGGain,    // TxtAWGGain, kDataFullScaleLimits
    Fs,         // TxtFs, kSamplingFreqMHzLimits, shown with 12 decimals
    IFFreq,     // TxtIFFreq, no limits
    IOffset,    // TxtIOffset, kOffsetLimits and its step
    QOffset,    // TxtQOffset
    IOutput,    // TxtIOutput, kOutputLevelLimits and its step
    QOutput,    // TxtQOutput
    LoopNum,    // TxtLoopNum, kLoopCountLimits
    DataSizeI,  // TxtDataSizeI, kDataSizeLimits
};

// The text a field shows after Enter was pressed on `text`. Copying the
// result into an interlocked partner field is the panel's part.
std::string enteredText(EntryField field, std::string_view text);

}  // namespace orvenda::settings

#endif
