#include "core/sigmf/sample_rate_field.h"

#include "core/settings/numeric_entry.h"
#include "core/settings/text_conversions.h"

namespace orvenda::sigmf {

namespace {
constexpr double kLowestMHz = 12.5;
constexpr double kHighestMHz = 200.0;
}  // namespace

std::variant<FieldText, FieldLeft> samplingFrequencyField(double rateHz, const std::string& source) {
    const double mhz = rateHz / 1e6;
    const std::string shown = settings::generalNumberText(mhz);
    if (!(mhz >= kLowestMHz && mhz <= kHighestMHz))
        return FieldLeft{source + ": core:sample_rate " + shown + " MHz is outside the Sampling Freq limits " +
                         settings::generalNumberText(kLowestMHz) + " to " + settings::generalNumberText(kHighestMHz) +
                         " MHz; Sampling Freq is left as it was"};
    return FieldText{settings::enteredText(settings::EntryField::Fs, shown)};
}

}  // namespace orvenda::sigmf
