// The panel's limits and steps applied to a profile: a value the panel could
// not hold after Enter, or a combination its interlocks never leave behind,
// is refused with a message naming the profile key.
#ifndef ORVENDA_CORE_PROFILES_PROFILE_CHECKS_H
#define ORVENDA_CORE_PROFILES_PROFILE_CHECKS_H

#include <optional>

#include "core/profiles/settings_profile.h"
#include "core/settings/numeric_entry.h"

namespace orvenda::profiles {

// The first problem of the profile, or nothing when the panel can hold it.
std::optional<ProfileError> checkProfile(const SettingsProfile& profile);

// The text a field shows for `value` after Enter ("61.440000000000" for Fs),
// or nothing when Enter would change the value (out of range, off the step,
// more digits than the field keeps).
std::optional<std::string> fieldTextOf(settings::EntryField field, double value);

}  // namespace orvenda::profiles

#endif
