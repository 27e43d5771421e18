// What the marker commands change on the main window: the marker settings of
// the panel and the marker file names. The window implements it, so the
// marker windows never see the main window itself.
#ifndef ORVENDA_GUI_MARKERS_MARKER_SETTINGS_LINK_H
#define ORVENDA_GUI_MARKERS_MARKER_SETTINGS_LINK_H

#include <QString>

#include "core/markers/marker_number.h"

namespace orvenda::markers {

class MarkerSettingsLink {
public:
    virtual ~MarkerSettingsLink() = default;
    // Marker output on, as after a load or "Set Marker".
    virtual void switchMarkerOutputOn(MarkerNumber marker, bool checkOnBoxFirst) = 0;
    // Checks or unchecks "Marker1 ON" / "Marker2 ON".
    virtual void setMarkerOn(MarkerNumber marker, bool on) = 0;
    // The file name shown for the marker (empty clears it).
    virtual void setMarkerFileName(MarkerNumber marker, const QString& name) = 0;
};

}  // namespace orvenda::markers

#endif
