// A profile and the panel: the texts the fields show for a profile's values
// (as after Enter), and the values a panel's snapshot holds. A field whose
// text the panel has not brought into its limits cannot be saved.
#ifndef ORVENDA_CORE_PROFILES_PROFILE_SNAPSHOT_H
#define ORVENDA_CORE_PROFILES_PROFILE_SNAPSHOT_H

#include <variant>

#include "core/markers/marker_store.h"
#include "core/profiles/settings_profile.h"
#include "core/settings/panel_snapshot.h"

namespace orvenda::profiles {

// The panel as the profile describes it; the profile must pass checkProfile.
settings::PanelSnapshot snapshotOf(const SettingsProfile& profile);

// The profile of a panel and the marker store. The message names the
// panel's field whose text is not a value the panel keeps.
std::variant<SettingsProfile, ProfileError> profileOf(const settings::PanelSnapshot& panel,
                                                      const markers::MarkerStore& store);

// The marker's stored points (Marker1Count / Marker2Count of them).
std::vector<MarkerPoint> storedPoints(const markers::MarkerStore& store, int marker);

// Stores a profile's list for marker 1 or 2 as "Set Marker" stores grid
// rows: the points in order, every later entry (0, 0), the count, the
// marker's length (last Pos + 1, 0 for an empty list) and MarkerLength.
void storeProfilePoints(markers::MarkerStore& store, int marker, const std::vector<MarkerPoint>& points);

}  // namespace orvenda::profiles

#endif
