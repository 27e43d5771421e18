// TxtForEdit: the text box laid over a grid cell while it is edited. It only
// reports the keys that end an edit and the loss of focus; the grid decides
// what they do.
#ifndef ORVENDA_GUI_MARKERS_CELL_EDIT_BOX_H
#define ORVENDA_GUI_MARKERS_CELL_EDIT_BOX_H

#include <QLineEdit>

namespace orvenda::markers {

class CellEditBox : public QLineEdit {
    Q_OBJECT
public:
    explicit CellEditBox(QWidget* parent = nullptr);

signals:
    void enterPressed();
    void escapePressed();
    void upPressed();
    void downPressed();
    // Focus went to another control of the window (not to a menu, a popup or
    // another window: the edit stays open then, as a click away does not
    // end it).
    void focusLost();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
};

}  // namespace orvenda::markers

#endif
