// The point grid FGMark of the marker editor with its in-place cell editor
// TxtForEdit. Rows are counted as the grid shows them: row 0 is the header
// ("Index", "Value"), rows 1 to 1000 hold points 0 to 999; column 0 is the
// position, column 1 the level. The cells hold text; only Enter in the
// in-place editor validates it.
#ifndef ORVENDA_GUI_MARKERS_MARKER_GRID_H
#define ORVENDA_GUI_MARKERS_MARKER_GRID_H

#include <QWidget>

#include "core/markers/marker_store_ops.h"

class QTableWidget;

namespace orvenda::markers {

class CellEditBox;

class MarkerGrid : public QWidget {
    Q_OBJECT
public:
    explicit MarkerGrid(QWidget* parent = nullptr);

    static constexpr int kRowCount = kGridPointRows + 1;  // with the header row

    GridRows rows() const;
    void setRows(const GridRows& rows);

    QString cellText(int row, int column) const;
    void setCellText(int row, int column, const QString& text);

    int currentRow() const;
    int currentColumn() const;
    void setCurrentCell(int row, int column);

    // Opens the in-place editor on the current cell with key code `code`
    // (see cellEditStart); does nothing for codes that open nothing.
    void openEditor(char32_t code);
    bool isEditing() const { return editing_; }
    // Stores an open editor's text unchecked and hides it, as a click
    // elsewhere does. Menu commands call it: a menu takes no focus, so the
    // editor would otherwise stay open across them.
    void finishEditing() { storeEdit(); }
    int editRow() const { return editRow_; }
    int editColumn() const { return editColumn_; }

    QTableWidget* table() const { return table_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    bool handleGridKey(QKeyEvent* event);
    // Writes the editor's text into its cell and hides it, when it is open.
    void storeEdit();
    void focusGridAndStore();
    void moveCurrentRow(int step);
    void onEnter();
    void onEscape();
    void onUp();
    void onDown();

    QTableWidget* table_;
    CellEditBox* editor_;
    bool editing_ = false;
    int editRow_ = 0;     // EditRow
    int editColumn_ = 0;  // EditCol
};

}  // namespace orvenda::markers

#endif
