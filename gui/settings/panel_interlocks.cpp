#include "gui/settings/panel_interlocks.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>

#include "gui/settings/option_group.h"

namespace orvenda::settings {

PanelInterlocks::PanelInterlocks(PanelControls& controls, SequenceMemory& memory) : c_(controls), memory_(memory) {}

void PanelInterlocks::connectReactions(QObject* context) {
    const auto onToggle = [context](QCheckBox* box, auto reaction) {
        QObject::connect(box, &QCheckBox::toggled, context, reaction);
    };
    onToggle(c_.ChkIQFilter, [this] { iqFilterSwitch(); });
    onToggle(c_.ChkIQOffset, [this] { iqOffsetSwitch(); });
    onToggle(c_.ChkIQOffsetLock, [this] { offsetInterlock(); });
    onToggle(c_.ChkIQOutput, [this] { iqOutputSwitch(); });
    onToggle(c_.ChkIQOutputLock, [this] { outputInterlock(); });
    onToggle(c_.ChkMarkerMode, [this] { markerSwitch(); });
    onToggle(c_.ChkOutputSequence, [this] { sequenceSwitch(); });
    onToggle(c_.ChkStartTrigger, [this] { triggerSwitch(); });
    // The group reactions look at the options themselves, not at the index.
    const auto onSelect = [context](OptionGroup* group, auto reaction) {
        QObject::connect(group, &OptionGroup::optionSelected, context, reaction);
    };
    onSelect(c_.OptIQOutput, [this] { gainPathChoice(); });
    onSelect(c_.OptMark, [this] { markerEditModeChoice(); });
    onSelect(c_.OptOutputSequence, [this] { sequenceChoice(); });
    onSelect(c_.OptStartTrigger, [this] { triggerSourceChoice(); });
}

void PanelInterlocks::iqFilterSwitch() { c_.CmbFilt->setEnabled(c_.ChkIQFilter->isChecked()); }

void PanelInterlocks::iqOffsetSwitch() {
    const bool on = c_.ChkIQOffset->isChecked();
    for (QWidget* w : std::initializer_list<QWidget*>{c_.LblIQOffsetI, c_.LblIQOffsetQ, c_.TxtIOffset, c_.TxtQOffset,
                                                      c_.LblIQOffsetUnitI, c_.LblIQOffsetUnitQ, c_.ChkIQOffsetLock})
        w->setEnabled(on);
}

// A plain copy: the copied text is checked only when Enter is pressed.
void PanelInterlocks::offsetInterlock() {
    if (c_.ChkIQOffsetLock->isChecked()) c_.TxtQOffset->setText(c_.TxtIOffset->text());
}

void PanelInterlocks::setGainControlsEnabled(bool enabled) {
    for (QWidget* w : std::initializer_list<QWidget*>{c_.LblIQOutputI, c_.LblIQOutputQ, c_.TxtIOutput, c_.TxtQOutput,
                                                      c_.LblIQOutputUnitI, c_.LblIQOutputUnitQ, c_.ChkIQOutputLock})
        w->setEnabled(enabled);
}

void PanelInterlocks::iqOutputSwitch() {
    if (c_.ChkIQOutput->isChecked()) {
        c_.OptIQOutput->setAllEnabled(true);
        if (c_.OptIQOutput->isSelected(1)) setGainControlsEnabled(true);
        return;
    }
    c_.OptIQOutput->setAllEnabled(false);
    setGainControlsEnabled(false);
}

void PanelInterlocks::gainPathChoice() { setGainControlsEnabled(!c_.OptIQOutput->isSelected(0)); }

void PanelInterlocks::outputInterlock() {
    if (c_.ChkIQOutputLock->isChecked()) c_.TxtQOutput->setText(c_.TxtIOutput->text());
}

void PanelInterlocks::markerSwitch() {
    if (c_.ChkMarkerMode->isChecked()) {
        c_.OptMark->setAllEnabled(true);
        if (c_.OptMark->isSelected(1)) {
            c_.ChkMark1->setEnabled(true);
            c_.ChkMark2->setEnabled(true);
        }
        return;
    }
    c_.OptMark->setAllEnabled(false);
    c_.ChkMark1->setEnabled(false);
    c_.ChkMark2->setEnabled(false);
}

// The ON boxes keep their check marks.
void PanelInterlocks::markerEditModeChoice() {
    const bool manual = !c_.OptMark->isSelected(0);
    c_.ChkMark1->setEnabled(manual);
    c_.ChkMark2->setEnabled(manual);
}

// The two switches always hold the same state. Setting the partner runs its
// own reaction inside this one; that inner reaction finds this box already
// switched, so the chain stops there and both refreshes run twice.
void PanelInterlocks::sequenceSwitch() {
    c_.ChkStartTrigger->setChecked(c_.ChkOutputSequence->isChecked());
    RefreshStartTrigger();
    RefreshOutputSequence();
}

void PanelInterlocks::triggerSwitch() {
    c_.ChkOutputSequence->setChecked(c_.ChkStartTrigger->isChecked());
    RefreshOutputSequence();
    RefreshStartTrigger();
}

void PanelInterlocks::RefreshStartTrigger() {
    if (c_.ChkStartTrigger->isChecked()) {
        c_.OptStartTrigger->setAllEnabled(true);
        if (c_.OptStartTrigger->isSelected(1)) c_.OptLink->setAllEnabled(true);
        return;
    }
    c_.OptStartTrigger->setAllEnabled(false);
    c_.OptLink->setAllEnabled(false);
}

void PanelInterlocks::setGatedEnabled(bool enabled) { c_.OptGated->setAllEnabled(enabled); }

// Switching on only enables; switching off disables the sequence options,
// the loop count and the gate options.
void PanelInterlocks::RefreshOutputSequence() {
    OptionGroup& sequence = *c_.OptOutputSequence;
    if (c_.ChkOutputSequence->isChecked()) {
        const bool link = c_.OptStartTrigger->isSelected(1);
        sequence.setOptionEnabled(0, true);
        sequence.setOptionEnabled(1, true);
        if (link) sequence.setOptionEnabled(2, true);
        if (sequence.isSelected(1)) {
            c_.LblLoopNum->setEnabled(true);
            c_.TxtLoopNum->setEnabled(true);
        }
        if (sequence.isSelected(2) && link) setGatedEnabled(true);
        return;
    }
    sequence.setAllEnabled(false);
    c_.LblLoopNum->setEnabled(false);
    c_.TxtLoopNum->setEnabled(false);
    setGatedEnabled(false);
}

void PanelInterlocks::sequenceChoice() {
    OptionGroup& sequence = *c_.OptOutputSequence;
    const bool internal = c_.OptStartTrigger->isSelected(0);
    if (sequence.isSelected(0)) {
        c_.LblLoopNum->setEnabled(false);
        c_.TxtLoopNum->setEnabled(false);
        setGatedEnabled(false);
        (internal ? memory_.SeqModeInternal : memory_.SeqModeLink) = 0;
    } else if (sequence.isSelected(1)) {
        c_.LblLoopNum->setEnabled(true);
        c_.TxtLoopNum->setEnabled(true);
        setGatedEnabled(false);
        (internal ? memory_.SeqModeInternal : memory_.SeqModeLink) = 1;
    } else if (sequence.isSelected(2)) {
        c_.LblLoopNum->setEnabled(false);
        c_.TxtLoopNum->setEnabled(false);
        setGatedEnabled(true);
        memory_.SeqModeLink = 2;  // "Gated" exists only under "Link"
    }
}

// Clears before it selects, as the restore steps are written; selecting an
// option that changes the selection runs the sequence choice, which sets
// LblLoopNum to match and writes the same mode back to the memory.
void PanelInterlocks::restoreSequence(int mode) {
    OptionGroup& sequence = *c_.OptOutputSequence;
    for (int i = 0; i < sequence.count(); ++i)
        if (i != mode) sequence.clear(i);
    sequence.select(mode);
    c_.TxtLoopNum->setEnabled(mode == 1);
    setGatedEnabled(mode == 2);
}

void PanelInterlocks::triggerSourceChoice() {
    OptionGroup& sequence = *c_.OptOutputSequence;
    if (c_.OptStartTrigger->isSelected(0)) {
        c_.OptLink->setAllEnabled(false);
        if (!c_.ChkOutputSequence->isChecked()) return;
        sequence.setOptionEnabled(2, false);
        if (memory_.SeqModeInternal == 0 || memory_.SeqModeInternal == 1) restoreSequence(memory_.SeqModeInternal);
        return;
    }
    c_.OptLink->setAllEnabled(true);
    if (!c_.ChkOutputSequence->isChecked()) return;
    sequence.setOptionEnabled(2, true);
    if (memory_.SeqModeLink >= 0 && memory_.SeqModeLink <= 2) restoreSequence(memory_.SeqModeLink);
}

}  // namespace orvenda::settings
