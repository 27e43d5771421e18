// Keyboard focus in the order a window lays out its parts: every focusable
// control of the first block, then those of the next, and so on.
#ifndef ORVENDA_GUI_SETTINGS_FOCUS_CHAIN_H
#define ORVENDA_GUI_SETTINGS_FOCUS_CHAIN_H

#include <QList>

class QWidget;

namespace orvenda::settings {

// Within a block, controls keep the order of the block's own focus chain:
// creation order, or what the block set with setTabOrder. A block may itself
// be a control. Hidden controls and those of popup windows are left out.
QList<QWidget*> focusableControls(QWidget* window, const QList<QWidget*>& blocks);
void chainFocus(QWidget* window, const QList<QWidget*>& blocks);

}  // namespace orvenda::settings

#endif
