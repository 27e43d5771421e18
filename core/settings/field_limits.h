// The limits and steps of the panel's numeric fields, in the fields' own
// units. The Enter rules (numeric_entry), orvenda-cli's option checks and its
// help text all take them from here.
#ifndef ORVENDA_CORE_SETTINGS_FIELD_LIMITS_H
#define ORVENDA_CORE_SETTINGS_FIELD_LIMITS_H

#include <cstdint>
#include <string>

namespace orvenda::settings {

struct FieldLimits {
    double low;
    double high;
    int32_t step;  // values are whole multiples of it; 0 when any number goes
};

inline constexpr FieldLimits kDataFullScaleLimits{0.0, 1.0, 0};       // TxtAWGGain
inline constexpr FieldLimits kSamplingFreqMHzLimits{12.5, 200.0, 0};  // TxtFs, MHz
inline constexpr FieldLimits kOffsetLimits{-750.0, 750.0, 5};         // TxtIOffset, TxtQOffset, mVp-p
inline constexpr FieldLimits kOutputLevelLimits{200.0, 2000.0, 5};    // TxtIOutput, TxtQOutput, mVp-p
inline constexpr FieldLimits kLoopCountLimits{1.0, 65536.0, 1};       // TxtLoopNum
inline constexpr FieldLimits kDataSizeLimits{4.0, 67108864.0, 1};     // TxtDataSizeI, samples

// A limit as the panel shows it: 12.5, 200, -750.
std::string limitText(double limit);
// "low to high", e.g. "-750 to 750".
std::string limitsText(const FieldLimits& limits);

}  // namespace orvenda::settings

#endif
