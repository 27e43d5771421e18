#include "gui/markers/marker_files_panel.h"

#include <QApplication>
#include <QGridLayout>
#include <QLineEdit>
#include <QPushButton>

#include "core/markers/graph_lib.h"
#include "gui/common/busy_pointer.h"
#include "gui/markers/marker_file_dialogs.h"
#include "gui/markers/marker_settings_link.h"

namespace orvenda::markers {

MarkerFilesPanel::MarkerFilesPanel(MarkerStore& store, UserDialogs& dialogs, MarkerSettingsLink& settings,
                                   QWidget* parent)
    : QWidget(parent), store_(store), dialogs_(dialogs), settings_(settings) {
    setObjectName(QStringLiteral("MarkerFilesPanel"));
    auto* layout = new QGridLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    for (MarkerNumber number : kBothMarkers) {
        const int marker = numberOf(number);
        auto* button = new QPushButton(QStringLiteral("Load Marker %1").arg(marker), this);
        button->setObjectName(QStringLiteral("CmdLoadMarker%1").arg(marker));
        // The box only shows the loaded file's name; typing into it means nothing.
        auto* name = new QLineEdit(this);
        name->setObjectName(QStringLiteral("TxtMakerFile%1").arg(marker));
        name->setReadOnly(true);
        name->setAccessibleName(QStringLiteral("Marker %1 file").arg(marker));
        layout->addWidget(button, marker - 1, 0);
        layout->addWidget(name, marker - 1, 1);
        fileNames_[marker - 1] = name;
        connect(button, &QPushButton::clicked, this, [this, number] { loadMarker(number); });
    }
    auto* edit = new QPushButton(QStringLiteral("Edit Marker"), this);
    edit->setObjectName(QStringLiteral("Command1"));
    layout->addWidget(edit, 2, 0, 1, 2);
    connect(edit, &QPushButton::clicked, this, &MarkerFilesPanel::editMarkerRequested);
}

void MarkerFilesPanel::loadMarker(MarkerNumber marker) {
    // A cancelled dialog or a rejected file changes nothing; the reader has
    // already told the user why a file was rejected.
    const MarkerFileLoad load = loadMarkerFileWithDialog(window(), dialogs_, kMarkerFileMaxPoints);
    if (load.status != MarkerFileLoad::Status::Read) return;

    const BusyPointer busy;
    storeLoadedMarker(store_, marker, load.points);
    // An empty file clears the list but leaves the marker settings alone.
    if (!load.points.empty()) settings_.switchMarkerOutputOn(marker, true);
    setMarkerFileName(marker, load.fileName);
}

void MarkerFilesPanel::setMarkerFileName(MarkerNumber marker, const QString& name) {
    fileNames_[static_cast<std::size_t>(indexOf(marker))]->setText(name);
}

}  // namespace orvenda::markers
