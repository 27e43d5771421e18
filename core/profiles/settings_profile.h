// A settings profile: every output setting of the panel as values (not as
// the texts the fields happen to show), with both markers' change-point
// lists. Switched-off groups keep their values here as on the panel.
#ifndef ORVENDA_CORE_PROFILES_SETTINGS_PROFILE_H
#define ORVENDA_CORE_PROFILES_SETTINGS_PROFILE_H

#include <cstdint>
#include <string>
#include <vector>

#include "common/halvik_api.h"

namespace orvenda::profiles {

// The profile format this program writes and the newest it reads.
inline constexpr int kProfileVersion = 1;
inline constexpr char kProfileExtension[] = ".orvenda";

// The panel's start-up state, member by member.
struct SettingsProfile {
    bool iqFilterOn = false;
    int filter = 0;  // 0 "Filt 2.5M", 1 "Filt 50M", 2 "Filt Through"

    double dataFullScale = 1.0;
    bool iqInverse = false;

    bool iqOffsetOn = false;
    bool iqOffsetInterlock = true;
    int32_t iOffset = 200;  // mVp-p
    int32_t qOffset = 200;

    bool iqOutputOn = false;
    int iqOutputPath = 0;  // 0 fixed gain path, 1 variable gain path
    bool iqOutputInterlock = true;
    int32_t iOutput = 2000;  // mVp-p
    int32_t qOutput = 2000;

    bool outputSequenceOn = false;  // the start trigger switch follows it
    int outputSequence = 0;         // 0 continuous, 1 single, 2 gated
    int32_t loops = 1;
    int gate = 0;  // 0 edge, 1 level

    bool startTriggerOn = false;
    int startTrigger = 0;  // 0 internal, 1 link
    int linkPolarity = 0;  // 0 positive, 1 negative

    double samplingFrequencyMHz = 200.0;

    bool markerOn = false;
    int markerEdit = 0;  // 0 "Auto Edit", 1 "Manual Edit"
    bool marker1On = false;
    bool marker2On = false;
    std::vector<MarkerPoint> marker1Points;
    std::vector<MarkerPoint> marker2Points;

    int ifMode = 0;  // 0 "IF", 1 "Freq Offset"
    double carrierMHz = 21.4;

    bool operator==(const SettingsProfile& other) const;
};

// A profile that cannot be used: what is wrong, naming the key (or the
// header line) it concerns.
struct ProfileError {
    std::string message;
};

}  // namespace orvenda::profiles

#endif
