// The settings a waveform file's header tells, laid over a profile: the panel
// set so that a transform writes the same header lines (DATE aside). A header
// the panel could not have written is refused, naming the line.
#ifndef ORVENDA_CORE_PROFILES_HEADER_PROFILE_H
#define ORVENDA_CORE_PROFILES_HEADER_PROFILE_H

#include <string>
#include <variant>
#include <vector>

#include "core/profiles/settings_profile.h"
#include "engine/awv_reader.h"

namespace orvenda::profiles {

struct HeaderSettings {
    SettingsProfile profile;
    // The settings the header cannot tell, kept from the base profile, as
    // the panel names them ("Data Full Scale", "Loop Num", ...).
    std::vector<std::string> untold;
};

std::variant<HeaderSettings, ProfileError> profileFromHeader(const std::vector<halvik::AwvHeaderLine>& lines,
                                                             const SettingsProfile& base);

// "a, b and c".
std::string joinedList(const std::vector<std::string>& items);

}  // namespace orvenda::profiles

#endif
