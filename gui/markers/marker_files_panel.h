// The marker-file part of "Marker Setup": "Load Marker 1", "Load Marker 2",
// the loaded file names, and "Edit Marker".
#ifndef ORVENDA_GUI_MARKERS_MARKER_FILES_PANEL_H
#define ORVENDA_GUI_MARKERS_MARKER_FILES_PANEL_H

#include <QWidget>
#include <array>

#include "core/markers/marker_store.h"

class QLineEdit;

namespace orvenda {
class UserDialogs;
}

namespace orvenda::markers {

class MarkerSettingsLink;

class MarkerFilesPanel : public QWidget {
    Q_OBJECT
public:
    MarkerFilesPanel(MarkerStore& store, UserDialogs& dialogs, MarkerSettingsLink& settings, QWidget* parent = nullptr);

    // "Load Marker1" / "Load Marker2" (menu items and buttons):
    // the file's points replace the marker's list, the marker output is
    // switched on when the file held a point, and its name is shown. A
    // cancelled dialog or a rejected file changes nothing.
    void loadMarker(MarkerNumber marker);
    // TxtMakerFile1 / TxtMakerFile2.
    void setMarkerFileName(MarkerNumber marker, const QString& name);

signals:
    // "Edit Marker" (button Command1).
    void editMarkerRequested();

private:
    MarkerStore& store_;
    UserDialogs& dialogs_;
    MarkerSettingsLink& settings_;
    std::array<QLineEdit*, 2> fileNames_{};
};

}  // namespace orvenda::markers

#endif
