#include "gui/settings/panel_entry_rules.h"

#include <QCheckBox>
#include <QLineEdit>

namespace orvenda::settings {

// returnPressed, not editingFinished: a field is checked on Enter only, never
// when it loses the focus, so a value typed without Enter stays as typed.
void applyEntryRuleOnEnter(QLineEdit* box, EntryField field, QObject* context, QCheckBox* lock, QLineEdit* partner) {
    QObject::connect(box, &QLineEdit::returnPressed, context, [box, field, lock, partner] {
        const QString shown = QString::fromStdString(enteredText(field, box->text().toStdString()));
        box->setText(shown);
        if (lock && partner && lock->isChecked()) partner->setText(shown);
    });
}

void connectEntryRules(const PanelControls& c, QObject* context) {
    applyEntryRuleOnEnter(c.TxtAWGGain, EntryField::AWGGain, context);
    applyEntryRuleOnEnter(c.TxtFs, EntryField::Fs, context);
    applyEntryRuleOnEnter(c.TxtIFFreq, EntryField::IFFreq, context);
    applyEntryRuleOnEnter(c.TxtIOffset, EntryField::IOffset, context, c.ChkIQOffsetLock, c.TxtQOffset);
    applyEntryRuleOnEnter(c.TxtQOffset, EntryField::QOffset, context, c.ChkIQOffsetLock, c.TxtIOffset);
    applyEntryRuleOnEnter(c.TxtIOutput, EntryField::IOutput, context, c.ChkIQOutputLock, c.TxtQOutput);
    applyEntryRuleOnEnter(c.TxtQOutput, EntryField::QOutput, context, c.ChkIQOutputLock, c.TxtIOutput);
    applyEntryRuleOnEnter(c.TxtLoopNum, EntryField::LoopNum, context);
}

}  // namespace orvenda::settings
