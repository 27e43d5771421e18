// The marker file reader and writer behind their file dialogs, shared by the
// main window's "Load Marker1/2" and the editor's marker list commands.
#ifndef ORVENDA_GUI_MARKERS_MARKER_FILE_DIALOGS_H
#define ORVENDA_GUI_MARKERS_MARKER_FILE_DIALOGS_H

#include <QString>
#include <vector>

#include "common/halvik_api.h"

class QWidget;

namespace orvenda {
class UserDialogs;
}

namespace orvenda::markers {

struct MarkerFileLoad {
    // Rejected: the file was refused and the user told why; apply nothing.
    enum class Status { Read, Cancelled, Rejected };
    Status status = Status::Cancelled;
    std::vector<MarkerPoint> points;
    QString fileName;  // without folder
};

// "Data Load dcomplex" dialog, then the file; shows "work size over" when
// points were dropped, and a message naming the file when it is rejected.
// The user is asked and told with the normal pointer even when the caller
// shows the busy one; the caller's pointer comes back afterwards.
MarkerFileLoad loadMarkerFileWithDialog(QWidget* parent, UserDialogs& dialogs, int maxPoints);

// "Data Save" dialog, then the file; shows a message when it cannot be
// written. Returns true when the file was written.
bool saveMarkerFileWithDialog(QWidget* parent, UserDialogs& dialogs, const std::vector<MarkerPoint>& points);

}  // namespace orvenda::markers

#endif
