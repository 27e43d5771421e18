// Settings files: a profile (".orvenda") is read and written whole; a waveform
// file (".awv") gives the settings its header tells. The kind is told by the
// bytes, not by the name. Every message names the file.
#ifndef ORVENDA_CORE_PROFILES_SETTINGS_FILE_H
#define ORVENDA_CORE_PROFILES_SETTINGS_FILE_H

#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "core/profiles/settings_profile.h"

namespace orvenda::profiles {

enum class SettingsFileKind { Profile, Waveform };

struct LoadedSettings {
    SettingsFileKind kind = SettingsFileKind::Profile;
    SettingsProfile profile;
    // For a waveform file: the settings its header does not tell, kept from
    // the base profile. Empty for a profile.
    std::vector<std::string> untold;
};

// A profile, or a waveform file's header laid over `base`.
std::variant<LoadedSettings, ProfileError> readSettingsFile(const std::string& path, const SettingsProfile& base);

// The same for a waveform file only; anything else is refused.
std::variant<LoadedSettings, ProfileError> readWaveformSettings(const std::string& path, const SettingsProfile& base);

// Writes the profile beside the old file and renames it over it, so a failed
// write leaves any old file as it was. Nothing on success.
std::optional<ProfileError> writeProfileFile(const std::string& path, const SettingsProfile& profile);

}  // namespace orvenda::profiles

#endif
