#include "gui/markers/cell_edit_box.h"

#include <QFocusEvent>
#include <QKeyEvent>

namespace orvenda::markers {

CellEditBox::CellEditBox(QWidget* parent) : QLineEdit(parent) {
    setObjectName(QStringLiteral("TxtForEdit"));
    setAccessibleName(QStringLiteral("Cell editor"));
    setFrame(false);
    hide();
}

void CellEditBox::keyPressEvent(QKeyEvent* event) {
    // Enter and Escape are swallowed whatever the modifiers: no character,
    // no beep, and no default button of the window reacts.
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        event->accept();
        emit enterPressed();
        return;
    case Qt::Key_Escape:
        event->accept();
        emit escapePressed();
        return;
    case Qt::Key_Up:
        event->accept();
        emit upPressed();
        return;
    case Qt::Key_Down:
        event->accept();
        emit downPressed();
        return;
    default: QLineEdit::keyPressEvent(event);
    }
}

void CellEditBox::focusOutEvent(QFocusEvent* event) {
    QLineEdit::focusOutEvent(event);
    const Qt::FocusReason reason = event->reason();
    if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason && reason != Qt::MenuBarFocusReason)
        emit focusLost();
}

}  // namespace orvenda::markers
