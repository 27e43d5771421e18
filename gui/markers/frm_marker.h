// The marker editor window "Marker Editor": the point grid of one marker,
// add and delete point, "Set Marker", "Clear Marker", the two marker
// drawings, and saving and loading marker lists.
#ifndef ORVENDA_GUI_MARKERS_FRM_MARKER_H
#define ORVENDA_GUI_MARKERS_FRM_MARKER_H

#include <QMainWindow>

#include "markers/marker_store.h"

namespace orvenda {
class UserDialogs;
}

namespace orvenda::markers {

class MarkerSettingsLink;

class FrmMarker : public QMainWindow {
    Q_OBJECT
public:
    FrmMarker(MarkerStore& store, UserDialogs& dialogs, MarkerSettingsLink& settings, QWidget* parent = nullptr);

private:
    MarkerStore& store_;
    UserDialogs& dialogs_;
    MarkerSettingsLink& settings_;
};

}  // namespace orvenda::markers

#endif
