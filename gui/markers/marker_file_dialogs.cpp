#include "gui/markers/marker_file_dialogs.h"

#include <QApplication>
#include <QCoreApplication>
#include <QCursor>
#include <QFile>
#include <QFileInfo>

#include "core/markers/graph_lib.h"
#include "gui/common/busy_pointer.h"
#include "gui/common/user_dialogs.h"

namespace orvenda::markers {
namespace {

const QString kMarkerFileFilter = QStringLiteral("data files(*.dat)|*.dat|text files(*.txt)|*.txt|all files(*.*)|*.*");

// A command may already show the busy pointer when it asks for a file or
// shows a message; the user gets the normal pointer while answering, and the
// command's pointer comes back afterwards.
class NormalPointerWhileAsking {
public:
    NormalPointerWhileAsking() {
        while (QApplication::overrideCursor() != nullptr) {
            lifted_.push_back(*QApplication::overrideCursor());
            QApplication::restoreOverrideCursor();
        }
    }
    ~NormalPointerWhileAsking() {
        for (auto it = lifted_.rbegin(); it != lifted_.rend(); ++it) QApplication::setOverrideCursor(*it);
    }
    NormalPointerWhileAsking(const NormalPointerWhileAsking&) = delete;
    NormalPointerWhileAsking& operator=(const NormalPointerWhileAsking&) = delete;

private:
    QList<QCursor> lifted_;
};

void tell(QWidget* parent, UserDialogs& dialogs, const QString& text) {
    NormalPointerWhileAsking normal;
    dialogs.message(parent, text, QString::fromLatin1(kProgramName));
}

}  // namespace

MarkerFileLoad loadMarkerFileWithDialog(QWidget* parent, UserDialogs& dialogs, int maxPoints) {
    MarkerFileLoad load;
    QString path;
    {
        NormalPointerWhileAsking normal;
        path = dialogs.openFile(parent, QStringLiteral("Data Load dcomplex"), kMarkerFileFilter);
    }
    if (path.isEmpty()) return load;  // Cancelled

    MarkerFileReadResult result;
    {
        BusyPointer busy;
        result = readMarkerFile(QFile::encodeName(path).toStdString(), maxPoints);
    }
    if (const auto* error = std::get_if<MarkerFileError>(&result)) {
        load.status = MarkerFileLoad::Status::Rejected;
        tell(parent, dialogs, QString::fromLocal8Bit(error->message));
        return load;
    }
    auto& contents = std::get<MarkerFileContents>(result);
    if (contents.pointsDropped) tell(parent, dialogs, QStringLiteral("work size over"));
    load.status = MarkerFileLoad::Status::Read;
    load.points = std::move(contents.points);
    load.fileName = QFileInfo(path).fileName();
    return load;
}

bool saveMarkerFileWithDialog(QWidget* parent, UserDialogs& dialogs, const std::vector<MarkerPoint>& points) {
    QString path;
    {
        NormalPointerWhileAsking normal;
        // The save dialog asks before replacing a file and adds no extension.
        path = dialogs.saveFile(parent, QStringLiteral("Data Save"), kMarkerFileFilter);
    }
    if (path.isEmpty()) return false;
    // Let the dialog's area be repainted before the write.
    QCoreApplication::processEvents();
    const auto result = writeMarkerFile(QFile::encodeName(path).toStdString(), points);
    if (const auto* error = std::get_if<MarkerFileError>(&result)) {
        tell(parent, dialogs, QString::fromLocal8Bit(error->message));
        return false;
    }
    return true;
}

}  // namespace orvenda::markers
