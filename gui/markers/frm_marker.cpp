// Scaffolding: filled in by the marker editor work.
#include "markers/frm_marker.h"

namespace orvenda::markers {

FrmMarker::FrmMarker(MarkerStore& store, UserDialogs& dialogs, MarkerSettingsLink& settings, QWidget* parent)
    : QMainWindow(parent), store_(store), dialogs_(dialogs), settings_(settings) {
    setObjectName(QStringLiteral("FrmMarker"));
    setWindowTitle(QStringLiteral("Marker Editor"));
}

}  // namespace orvenda::markers
