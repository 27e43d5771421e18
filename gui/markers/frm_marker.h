// The marker editor window "Marker Editor": the point grid of one marker,
// add and delete point, "Set Marker", "Clear Marker", the two marker
// drawings, and saving and loading marker lists.
#ifndef ORVENDA_GUI_MARKERS_FRM_MARKER_H
#define ORVENDA_GUI_MARKERS_FRM_MARKER_H

#include <QMainWindow>

#include "core/markers/marker_store.h"

class QComboBox;
class QLineEdit;

namespace orvenda {
class UserDialogs;
}

namespace orvenda::markers {

class MarkerSettingsLink;
class MarkerGrid;
class MarkerPicture;

class FrmMarker : public QMainWindow {
    Q_OBJECT
public:
    // Runs the window's load step: the grid shows the marker CurrentMarker
    // names, and both markers are drawn when they span more than one sample.
    FrmMarker(MarkerStore& store, UserDialogs& dialogs, MarkerSettingsLink& settings, QWidget* parent = nullptr);

    // The commands of the window's buttons and menu items.
    void addMarkPoint();
    void deleteMarkPoint();
    void setMarker();
    void clearMarker();
    void saveMarkerList();
    void loadMarkerList();
    // The store was replaced from outside (a settings profile): the grid
    // shows the current marker's stored points and both drawings are redone.
    void showStoredMarkers();

private:
    QWidget* buildCentralWidget();
    void buildMenu();
    void selectMarker(int index);
    void showMarkerInGrid(MarkerNumber marker);
    void drawMarkers();
    MarkerNumber currentMarker() const;
    MarkerPicture* pictureOf(MarkerNumber marker) const;

    MarkerStore& store_;
    UserDialogs& dialogs_;
    MarkerSettingsLink& settings_;
    QComboBox* markerSelect_ = nullptr;
    MarkerGrid* grid_ = nullptr;
    QLineEdit* markPos_ = nullptr;
    QLineEdit* markValue_ = nullptr;
    MarkerPicture* picture1_ = nullptr;
    MarkerPicture* picture2_ = nullptr;
};

}  // namespace orvenda::markers

#endif
