// The Enter rules of the panel's numeric fields: on Enter (Return or the
// keypad's Enter) the field's text is read, limited, stepped and written back
// in its display form; an interlocked offset or output level is then copied
// to its partner. Other keys and leaving the field check nothing.
#ifndef ORVENDA_GUI_SETTINGS_PANEL_ENTRY_RULES_H
#define ORVENDA_GUI_SETTINGS_PANEL_ENTRY_RULES_H

#include "core/settings/numeric_entry.h"
#include "gui/settings/panel_controls.h"

class QCheckBox;
class QLineEdit;
class QObject;

namespace orvenda::settings {

// Runs `field`'s rule on the text box whenever Enter is pressed in it; with
// `lock` checked the new text is copied into `partner` too.
void applyEntryRuleOnEnter(QLineEdit* box, EntryField field, QObject* context, QCheckBox* lock = nullptr,
                           QLineEdit* partner = nullptr);

void connectEntryRules(const PanelControls& controls, QObject* context);

}  // namespace orvenda::settings

#endif
