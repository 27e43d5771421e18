// The busy mouse pointer for the lifetime of a scope, restored on every way
// out. The one busy pointer of the program's windows.
#ifndef ORVENDA_GUI_COMMON_BUSY_POINTER_H
#define ORVENDA_GUI_COMMON_BUSY_POINTER_H

#include <QApplication>
#include <QCursor>

namespace orvenda {

class BusyPointer {
public:
    BusyPointer() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyPointer() { QApplication::restoreOverrideCursor(); }
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;
};

}  // namespace orvenda

#endif
