// The profile file: JSON with a "version" and one object per panel group.
// Numbers are written and read the same way whatever the locale.
#ifndef ORVENDA_CORE_PROFILES_PROFILE_JSON_H
#define ORVENDA_CORE_PROFILES_PROFILE_JSON_H

#include <string>
#include <string_view>
#include <variant>

#include "core/profiles/settings_profile.h"

namespace orvenda::profiles {

// The file's text (two-space indent, a line feed at the end).
std::string profileJsonText(const SettingsProfile& profile);

// Reads a profile: every key must be there, with its type, and no other key;
// the values must pass checkProfile. The message names the key.
std::variant<SettingsProfile, ProfileError> profileFromJsonText(std::string_view text);

}  // namespace orvenda::profiles

#endif
