#include "gui/markers/marker_grid.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QScrollBar>
#include <QTableWidget>

#include "core/markers/marker_cell_rules.h"
#include "gui/markers/cell_edit_box.h"

namespace orvenda::markers {

namespace {

constexpr int kFixedRows = 1;

// The desktop key code the grid's key-down rule looks at, for the keys that
// rule knows: Delete, F2, and the keys reported with codes from 128 on that
// type no character (F17 to F24, the lock keys, browser and media keys).
int desktopKeyCode(int qtKey) {
    switch (qtKey) {
    case Qt::Key_Delete: return kKeyDelete;
    case Qt::Key_F2: return kKeyF2;
    case Qt::Key_NumLock: return 144;
    case Qt::Key_ScrollLock: return 145;
    case Qt::Key_Back:
    case Qt::Key_Forward:
    case Qt::Key_Refresh:
    case Qt::Key_Stop:
    case Qt::Key_Search:
    case Qt::Key_Favorites:
    case Qt::Key_HomePage:
    case Qt::Key_VolumeMute:
    case Qt::Key_VolumeDown:
    case Qt::Key_VolumeUp:
    case Qt::Key_MediaNext:
    case Qt::Key_MediaPrevious:
    case Qt::Key_MediaStop:
    case Qt::Key_MediaPlay:
    case Qt::Key_MediaTogglePlayPause:
    case Qt::Key_LaunchMail:
    case Qt::Key_LaunchMedia:
    case Qt::Key_Launch0:
    case Qt::Key_Launch1: return 166;
    default:
        if (qtKey >= Qt::Key_F17 && qtKey <= Qt::Key_F24) return 128 + (qtKey - Qt::Key_F17);
        return 0;
    }
}

}  // namespace

MarkerGrid::MarkerGrid(QWidget* parent)
    : QWidget(parent), table_(new QTableWidget(kGridPointRows, 2, this)), editor_(new CellEditBox(this)) {
    table_->setObjectName(QStringLiteral("FGMark"));
    table_->setHorizontalHeaderLabels({QStringLiteral("Index"), QStringLiteral("Value")});
    table_->verticalHeader()->hide();
    table_->verticalHeader()->setDefaultSectionSize(table_->fontMetrics().height() + 6);
    table_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
    table_->horizontalHeader()->setSectionsClickable(false);
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->setSelectionBehavior(QAbstractItemView::SelectItems);
    table_->setTabKeyNavigation(false);  // Tab leaves the grid, as in a dialog
    for (int r = 0; r < kGridPointRows; ++r)
        for (int c = 0; c < 2; ++c) table_->setItem(r, c, new QTableWidgetItem);
    table_->installEventFilter(this);
    editor_->raise();

    connect(table_, &QTableWidget::cellDoubleClicked, this, [this] { openEditor(kKeySpace); });
    // A scroll while editing ends the edit, storing the text as typed.
    auto onScroll = [this] {
        if (editing_) focusGridAndStore();
    };
    connect(table_->verticalScrollBar(), &QScrollBar::valueChanged, this, onScroll);
    connect(table_->horizontalScrollBar(), &QScrollBar::valueChanged, this, onScroll);
    connect(editor_, &CellEditBox::enterPressed, this, &MarkerGrid::onEnter);
    connect(editor_, &CellEditBox::escapePressed, this, &MarkerGrid::onEscape);
    connect(editor_, &CellEditBox::upPressed, this, &MarkerGrid::onUp);
    connect(editor_, &CellEditBox::downPressed, this, &MarkerGrid::onDown);
    connect(editor_, &CellEditBox::focusLost, this, &MarkerGrid::storeEdit);
    setFocusProxy(table_);
    setCurrentCell(1, 0);
}

GridRows MarkerGrid::rows() const {
    GridRows rows(kGridPointRows);
    for (int r = 0; r < kGridPointRows; ++r)
        rows[static_cast<std::size_t>(r)] = {table_->item(r, 0)->text().toStdString(),
                                             table_->item(r, 1)->text().toStdString()};
    return rows;
}

void MarkerGrid::setRows(const GridRows& rows) {
    for (int r = 0; r < kGridPointRows; ++r) {
        const bool given = static_cast<std::size_t>(r) < rows.size();
        const GridRow empty;
        const GridRow& row = given ? rows[static_cast<std::size_t>(r)] : empty;
        table_->item(r, 0)->setText(QString::fromStdString(row.pos));
        table_->item(r, 1)->setText(QString::fromStdString(row.value));
    }
}

QString MarkerGrid::cellText(int row, int column) const {
    if (row < kFixedRows) return table_->horizontalHeaderItem(column)->text();
    return table_->item(row - kFixedRows, column)->text();
}

void MarkerGrid::setCellText(int row, int column, const QString& text) {
    if (row >= kFixedRows && row < kRowCount && column >= 0 && column < 2)
        table_->item(row - kFixedRows, column)->setText(text);
}

int MarkerGrid::currentRow() const { return table_->currentRow() + kFixedRows; }

int MarkerGrid::currentColumn() const { return table_->currentColumn(); }

void MarkerGrid::setCurrentCell(int row, int column) { table_->setCurrentCell(row - kFixedRows, column); }

void MarkerGrid::openEditor(char32_t code) {
    const std::optional<CellEditStart> start =
        cellEditStart(code, cellText(currentRow(), currentColumn()).toStdString());
    if (!start) return;
    const QModelIndex index = table_->currentIndex();
    table_->scrollTo(index);
    const QRect cell = table_->visualRect(index);
    editor_->setGeometry(QRect(table_->viewport()->mapTo(this, cell.topLeft()), cell.size()));
    editor_->setText(QString::fromStdString(start->text));
    editor_->setCursorPosition(start->caretAtStart ? 0 : static_cast<int>(editor_->text().size()));
    editRow_ = currentRow();
    editColumn_ = currentColumn();
    editing_ = true;
    editor_->show();
    editor_->raise();
    editor_->setFocus(Qt::OtherFocusReason);
}

bool MarkerGrid::eventFilter(QObject* watched, QEvent* event) {
    if (watched == table_ && event->type() == QEvent::KeyPress) return handleGridKey(static_cast<QKeyEvent*>(event));
    return QWidget::eventFilter(watched, event);
}

bool MarkerGrid::handleGridKey(QKeyEvent* event) {
    bool handled = false;
    if (const std::optional<int> code = openCodeForGridKeyDown(desktopKeyCode(event->key()))) {
        openEditor(static_cast<char32_t>(*code));
        handled = true;
    }
    // Then the character the key types, if any (Enter, Backspace, Space and
    // printable characters; control characters open nothing). With Ctrl or
    // Alt held a key types a control character or none, whatever text the
    // platform reports with it.
    const QList<uint> chars = event->text().toUcs4();
    const bool commandKey = (event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) != 0;
    if (!commandKey && chars.size() == 1 && cellEditStart(chars.front(), {})) {
        openEditor(chars.front());
        handled = true;
    }
    return handled;
}

void MarkerGrid::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    table_->setGeometry(rect());
}

void MarkerGrid::storeEdit() {
    if (!editing_) return;
    editing_ = false;
    setCellText(editRow_, editColumn_, editor_->text());
    editor_->hide();
}

void MarkerGrid::focusGridAndStore() {
    table_->setFocus(Qt::OtherFocusReason);
    storeEdit();  // also when the window is inactive and no focus event comes
}

void MarkerGrid::moveCurrentRow(int step) {
    const int row = currentRow() + step;
    if (row >= kFixedRows && row < kRowCount) setCurrentCell(row, currentColumn());  // scrolls the row into view
}

// The text is stored before the row moves, without processing pending
// events in between: keys typed ahead then land in the next row, not in the
// row just left.
void MarkerGrid::onEnter() {
    editor_->setText(QString::fromStdString(validatedCellText(editColumn_, editor_->text().toStdString())));
    focusGridAndStore();
    moveCurrentRow(+1);
}

void MarkerGrid::onEscape() {
    editing_ = false;
    editor_->hide();
    table_->setFocus(Qt::OtherFocusReason);
}

void MarkerGrid::onUp() {
    focusGridAndStore();
    moveCurrentRow(-1);
}

void MarkerGrid::onDown() {
    focusGridAndStore();
    moveCurrentRow(+1);
}

}  // namespace orvenda::markers
