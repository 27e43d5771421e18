// Scaffolding: filled in by the marker files work.
#include "markers/marker_files_panel.h"

namespace orvenda::markers {

MarkerFilesPanel::MarkerFilesPanel(MarkerStore& store, UserDialogs& dialogs, MarkerSettingsLink& settings,
                                   QWidget* parent)
    : QWidget(parent), store_(store), dialogs_(dialogs), settings_(settings) {}

void MarkerFilesPanel::loadMarker(int) {}
void MarkerFilesPanel::setMarkerFileName(int, const QString&) {}

}  // namespace orvenda::markers
