#include "cli/settings_option.h"

#include "core/profiles/header_profile.h"
#include "core/profiles/profile_snapshot.h"
#include "core/profiles/settings_file.h"

namespace orvenda::cli {

void applySettingsFile(const std::string& path, ConvertPlan& plan) {
    if (path.empty()) throw UsageError("--settings: the file name is empty");
    auto read = profiles::readSettingsFile(path, profiles::SettingsProfile{});
    if (const auto* error = std::get_if<profiles::ProfileError>(&read))
        throw SettingsFileError("--settings: " + error->message);
    const profiles::LoadedSettings& loaded = std::get<profiles::LoadedSettings>(read);
    plan.panel = profiles::snapshotOf(loaded.profile);
    if (loaded.kind == profiles::SettingsFileKind::Profile) {
        plan.settingsMarker1 = loaded.profile.marker1Points;
        plan.settingsMarker2 = loaded.profile.marker2Points;
        return;
    }
    plan.notes.push_back("\"" + path + "\": the waveform header does not tell " + profiles::joinedList(loaded.untold) +
                         "; they keep their start-up values unless given as options");
}

}  // namespace orvenda::cli
