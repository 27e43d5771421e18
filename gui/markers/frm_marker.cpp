#include "gui/markers/frm_marker.h"

#include <algorithm>

#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include "core/markers/marker_cell_rules.h"
#include "core/markers/marker_store_ops.h"
#include "gui/common/busy_pointer.h"
#include "gui/markers/marker_file_dialogs.h"
#include "gui/markers/marker_grid.h"
#include "gui/markers/marker_picture.h"
#include "gui/markers/marker_settings_link.h"

namespace orvenda::markers {

namespace {

QString qs(const std::string& text) { return QString::fromStdString(text); }

template <class W>
W* named(W* widget, const char* name) {
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

}  // namespace

FrmMarker::FrmMarker(MarkerStore& store, UserDialogs& dialogs, MarkerSettingsLink& settings, QWidget* parent)
    : QMainWindow(parent), store_(store), dialogs_(dialogs), settings_(settings) {
    setObjectName(QStringLiteral("FrmMarker"));
    setWindowTitle(QStringLiteral("Marker Editor"));
    setCentralWidget(buildCentralWidget());
    buildMenu();

    // Load step: the marker shown last, then its selection (which refills
    // nothing, as it equals CurrentMarker), then both drawings.
    showMarkerInGrid(currentMarker());
    markerSelect_->setCurrentIndex(indexOf(currentMarker()));
    connect(markerSelect_, &QComboBox::currentIndexChanged, this, &FrmMarker::selectMarker);
    drawMarkers();
    resize(820, 480);
}

QWidget* FrmMarker::buildCentralWidget() {
    auto* central = new QWidget(this);
    markerSelect_ = named(new QComboBox(central), "CurrentMarkerSelect");
    markerSelect_->addItems({QStringLiteral("Marker 1"), QStringLiteral("Marker 2")});
    auto* label1 = named(new QLabel(QStringLiteral("Current Marker"), central), "Label1");
    label1->setBuddy(markerSelect_);
    grid_ = named(new MarkerGrid(central), "MarkerGridArea");
    grid_->setMinimumWidth(200);

    markPos_ = named(new QLineEdit(QStringLiteral("0"), central), "TxtMarkPos");
    markPos_->setToolTip(QStringLiteral("Position of the point to add (sample index)"));
    markPos_->setAccessibleName(QStringLiteral("Position"));
    markValue_ = named(new QLineEdit(QStringLiteral("0"), central), "TxtMarkValue");
    markValue_->setToolTip(QStringLiteral("Level of the point to add (0 or 1)"));
    markValue_->setAccessibleName(QStringLiteral("Level"));
    auto* add = named(new QPushButton(QStringLiteral("Add        Marker Point"), central), "BtnAddMarkPoint");
    auto* del = named(new QPushButton(QStringLiteral("Delete     Marker Point"), central), "BtnDelMarkPoint");
    auto* set = named(new QPushButton(QStringLiteral("Set Marker"), central), "BtnSetMark");
    auto* clr = named(new QPushButton(QStringLiteral("Clear Marker"), central), "BtnClrMark");
    connect(add, &QPushButton::clicked, this, &FrmMarker::addMarkPoint);
    connect(del, &QPushButton::clicked, this, &FrmMarker::deleteMarkPoint);
    connect(set, &QPushButton::clicked, this, &FrmMarker::setMarker);
    connect(clr, &QPushButton::clicked, this, &FrmMarker::clearMarker);

    picture1_ = named(new MarkerPicture(central), "PictMark1");
    picture2_ = named(new MarkerPicture(central), "PictMark2");
    auto* label2 = named(new QLabel(QStringLiteral("Marker 1"), central), "Label2");
    auto* label3 = named(new QLabel(QStringLiteral("Marker 2"), central), "Label3");

    auto* editColumn = new QVBoxLayout;
    editColumn->addWidget(markPos_);
    editColumn->addWidget(markValue_);
    editColumn->addWidget(add);
    editColumn->addWidget(del);
    editColumn->addSpacing(24);
    editColumn->addWidget(set);
    editColumn->addWidget(clr);
    editColumn->addStretch();

    auto* pictures = new QVBoxLayout;
    pictures->addWidget(label2);
    pictures->addWidget(picture1_, 1);
    pictures->addWidget(label3);
    pictures->addWidget(picture2_, 1);

    auto* layout = new QGridLayout(central);
    auto* selectRow = new QHBoxLayout;
    selectRow->addWidget(label1);
    selectRow->addWidget(markerSelect_, 1);
    layout->addLayout(selectRow, 0, 0);
    layout->addWidget(grid_, 1, 0);
    layout->addLayout(editColumn, 1, 1);
    layout->addLayout(pictures, 0, 2, 2, 1);
    layout->setColumnStretch(2, 1);
    layout->setRowStretch(1, 1);

    setTabOrder(markerSelect_, grid_->table());
    setTabOrder(grid_->table(), markPos_);
    setTabOrder(markPos_, markValue_);
    setTabOrder(markValue_, add);
    setTabOrder(add, del);
    setTabOrder(del, set);
    setTabOrder(set, clr);
    return central;
}

void FrmMarker::buildMenu() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("MnuFile"));
    // Kept hidden and disabled: this item never does anything.
    QAction* saveData = named(file->addAction(QStringLiteral("Save Marker Data")), "MnuSaveMark");
    saveData->setVisible(false);
    saveData->setEnabled(false);
    connect(named(file->addAction(QStringLiteral("Save Marker List")), "MnuSaveMarkList"), &QAction::triggered, this,
            &FrmMarker::saveMarkerList);
    connect(named(file->addAction(QStringLiteral("Load Marker List")), "MnuLoadMarkList"), &QAction::triggered, this,
            &FrmMarker::loadMarkerList);
    file->addSeparator();
    connect(named(file->addAction(QStringLiteral("Close")), "MnuCloseMarker"), &QAction::triggered, this,
            &QWidget::close);
}

MarkerNumber FrmMarker::currentMarker() const { return markerAtIndex(store_.CurrentMarker); }

MarkerPicture* FrmMarker::pictureOf(MarkerNumber marker) const {
    return marker == MarkerNumber::One ? picture1_ : picture2_;
}

void FrmMarker::showMarkerInGrid(MarkerNumber marker) {
    grid_->setRows(gridRowsFromStore(store_, marker));
    grid_->setCurrentCell(1, 0);
}

void FrmMarker::selectMarker(int index) {
    if (index < 0 || index == store_.CurrentMarker) return;
    // The rows shown so far are dropped: only "Set Marker" stores them.
    showMarkerInGrid(markerAtIndex(index));
    store_.CurrentMarker = index;
}

void FrmMarker::drawMarkers() {
    if (store_.Marker1Length > 1) picture1_->drawMarker(store_.Marker1Points, store_.MarkerLength);
    if (store_.Marker2Length > 1) picture2_->drawMarker(store_.Marker2Points, store_.MarkerLength);
}

void FrmMarker::addMarkPoint() {
    const int row = grid_->currentRow();
    grid_->setCellText(row, kPositionColumn, qs(evenPositionText(markPos_->text().toStdString())));
    grid_->setCellText(row, kLevelColumn, qs(levelText(markValue_->text().toStdString())));
    if (row < MarkerGrid::kRowCount - 1) grid_->setCurrentCell(row + 1, grid_->currentColumn());
}

void FrmMarker::deleteMarkPoint() {
    // The rows below stay where they are: the list now ends at this row.
    const int row = grid_->currentRow();
    grid_->setCellText(row, kPositionColumn, QString());
    grid_->setCellText(row, kLevelColumn, QString());
}

void FrmMarker::setMarker() {
    const int column = grid_->currentColumn();
    const int row = grid_->currentRow();
    const MarkerNumber marker = currentMarker();
    BusyPointer busy;
    if (storeGridRows(store_, marker, grid_->rows()) == 0) {
        // Nothing to show: drawings, settings and the marker's length stay.
        grid_->setCurrentCell(1, 0);
        return;
    }
    drawMarkers();
    if (markerLengthOf(store_, marker) > 1) settings_.switchMarkerOutputOn(marker, false);
    settings_.setMarkerFileName(marker, QString());
    grid_->setCurrentCell(row, column);
}

void FrmMarker::showStoredMarkers() {
    showMarkerInGrid(currentMarker());
    picture1_->clearPicture();
    picture2_->clearPicture();
    drawMarkers();
}

void FrmMarker::clearMarker() {
    const MarkerNumber marker = currentMarker();
    clearMarkerPoints(store_, marker);
    settings_.setMarkerOn(marker, false);
    // The other drawing keeps its scale although MarkerLength may change.
    pictureOf(marker)->clearPicture();
    grid_->setRows({});
    grid_->setCurrentCell(1, 0);
}

void FrmMarker::saveMarkerList() {
    grid_->finishEditing();
    std::vector<MarkerPoint> points;
    {
        BusyPointer busy;
        points = pointsFromGridRows(grid_->rows());
        // Left where the reading stopped: the first empty row, or the last.
        const int stopRow = std::min(static_cast<int>(points.size()) + 1, MarkerGrid::kRowCount - 1);
        grid_->setCurrentCell(stopRow, kPositionColumn);
    }
    saveMarkerFileWithDialog(this, dialogs_, points);
}

void FrmMarker::loadMarkerList() {
    grid_->finishEditing();
    const MarkerFileLoad load = loadMarkerFileWithDialog(this, dialogs_, kMarkerPointCapacity);
    if (load.status != MarkerFileLoad::Status::Read) return;
    BusyPointer busy;
    grid_->setRows(gridRowsFromPoints(load.points));
}

}  // namespace orvenda::markers
