// The busy mouse pointer for the lifetime of a scope.
#ifndef ORVENDA_GUI_INPUT_BUSY_POINTER_H
#define ORVENDA_GUI_INPUT_BUSY_POINTER_H

#include <QApplication>
#include <QCursor>

namespace orvenda::input {

class BusyPointer {
public:
    BusyPointer() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyPointer() { QApplication::restoreOverrideCursor(); }
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;
};

}  // namespace orvenda::input

#endif
