// The Enter rules of the panel's numeric fields and the numeric functions
// they use. Plain functions without state, so the command line shares them.
#ifndef ORVENDA_GUI_SETTINGS_NUMERIC_ENTRY_H
#define ORVENDA_GUI_SETTINGS_NUMERIC_ENTRY_H

#include <cstdint>
#include <string>
#include <string_view>

namespace orvenda::settings {

// Halves away from zero: 2.5 -> 3, -2.5 -> -3.
double round2(double inval);
// round2 of the leading number of the text, clamped to the int32 range.
int32_t Long_limit(std::string_view inval);
int32_t Long_limit(double inval);
// Nearest multiple of 5, symmetric about zero, decided by the last digit.
int32_t SetRes5(int32_t intxt);
// The upper limit is tested first.
double MaxMin_Limit(double inval, double maxlim, double minlim);

enum class EntryField {
    AWGGain,
    Fs,
    IFFreq,
    IOffset,
    QOffset,
    IOutput,
    QOutput,
    LoopNum,
    DataSizeI,
};

// The text a field shows after Enter was pressed on `text`.
std::string enteredText(EntryField field, std::string_view text);

}  // namespace orvenda::settings

#endif
