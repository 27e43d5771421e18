// Setting the whole panel as a user would, for settings loaded from a file.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

#include "gui/settings/option_group.h"
#include "gui/settings/panel_controls.h"
#include "gui/settings/settings_panel.h"

namespace orvenda::settings {
namespace {

bool shows(const QLineEdit* box, const std::string& text) { return box->text().toStdString() == text; }

// Typing the text and pressing Enter: the field's Enter rule runs, and with
// it the copy into an interlocked partner.
void typeAndEnter(QLineEdit* box, const std::string& text) {
    if (shows(box, text)) return;
    box->setText(QString::fromStdString(text));
    emit box->returnPressed();
}

void selectIfNeeded(OptionGroup* group, int index) {
    if (index >= 0 && index < group->count() && !group->isSelected(index)) group->select(index);
}

// An I/Q pair with its interlock: unlocked first when the pair may differ,
// each field entered, then the interlock as wanted (checking it copies I,
// which then equals Q, into Q).
void setLevels(QCheckBox* lock, QLineEdit* i, QLineEdit* q, bool targetLock, const std::string& iText,
               const std::string& qText) {
    if (lock->isChecked() && !targetLock) lock->setChecked(false);
    typeAndEnter(i, iText);
    typeAndEnter(q, qText);
    lock->setChecked(targetLock);
}

}  // namespace

void SettingsPanel::applySnapshot(const PanelSnapshot& t) {
    PanelControls& c = *controls_;

    if (c.CmbFilt->currentIndex() != t.filterIndex) {
        c.ChkIQFilter->setChecked(true);
        c.CmbFilt->setCurrentIndex(t.filterIndex);
    }
    c.ChkIQFilter->setChecked(t.iqFilterOn);

    c.ChkIQInv->setChecked(t.iqInverse);
    typeAndEnter(c.TxtAWGGain, t.awgGainText);

    if (!shows(c.TxtIOffset, t.iOffsetText) || !shows(c.TxtQOffset, t.qOffsetText) ||
        c.ChkIQOffsetLock->isChecked() != t.iqOffsetLock) {
        c.ChkIQOffset->setChecked(true);
        setLevels(c.ChkIQOffsetLock, c.TxtIOffset, c.TxtQOffset, t.iqOffsetLock, t.iOffsetText, t.qOffsetText);
    }
    c.ChkIQOffset->setChecked(t.iqOffsetOn);

    // The levels are reached through "Variable Gain Path".
    if (!shows(c.TxtIOutput, t.iOutputText) || !shows(c.TxtQOutput, t.qOutputText) ||
        c.ChkIQOutputLock->isChecked() != t.iqOutputLock) {
        c.ChkIQOutput->setChecked(true);
        selectIfNeeded(c.OptIQOutput, 1);
        setLevels(c.ChkIQOutputLock, c.TxtIOutput, c.TxtQOutput, t.iqOutputLock, t.iOutputText, t.qOutputText);
    }
    if (c.OptIQOutput->selected() != t.iqOutputOption) {
        c.ChkIQOutput->setChecked(true);
        selectIfNeeded(c.OptIQOutput, t.iqOutputOption);
    }
    c.ChkIQOutput->setChecked(t.iqOutputOn);

    // The polarity and the gate need "Link", the loop count "Single". The
    // source is chosen before the loop count and the sequence, since choosing
    // it restores the sequence remembered for it; so the memory of the other
    // source changes only when the polarity or the gate had to change.
    const auto sequenceOn = [&c] { c.ChkOutputSequence->setChecked(true); };
    if (c.OptLink->selected() != t.linkOption) {
        sequenceOn();
        selectIfNeeded(c.OptStartTrigger, 1);
        selectIfNeeded(c.OptLink, t.linkOption);
    }
    if (c.OptGated->selected() != t.gatedOption) {
        sequenceOn();
        selectIfNeeded(c.OptStartTrigger, 1);
        selectIfNeeded(c.OptOutputSequence, 2);
        selectIfNeeded(c.OptGated, t.gatedOption);
    }
    if (c.OptStartTrigger->selected() != t.startTriggerOption) {
        sequenceOn();
        selectIfNeeded(c.OptStartTrigger, t.startTriggerOption);
    }
    if (!shows(c.TxtLoopNum, t.loopNumText)) {
        sequenceOn();
        selectIfNeeded(c.OptOutputSequence, 1);
        typeAndEnter(c.TxtLoopNum, t.loopNumText);
    }
    if (c.OptOutputSequence->selected() != t.outputSequenceOption) {
        sequenceOn();
        selectIfNeeded(c.OptOutputSequence, t.outputSequenceOption);
    }
    c.ChkOutputSequence->setChecked(t.outputSequenceOn);

    typeAndEnter(c.TxtFs, t.fsText);

    // The ON boxes are reached through "Manual Edit".
    if (c.ChkMark1->isChecked() != t.mark1On || c.ChkMark2->isChecked() != t.mark2On) {
        c.ChkMarkerMode->setChecked(true);
        selectIfNeeded(c.OptMark, 1);
        c.ChkMark1->setChecked(t.mark1On);
        c.ChkMark2->setChecked(t.mark2On);
    }
    if (c.OptMark->selected() != t.markOption) {
        c.ChkMarkerMode->setChecked(true);
        selectIfNeeded(c.OptMark, t.markOption);
    }
    c.ChkMarkerMode->setChecked(t.markerModeOn);

    selectIfNeeded(c.OptIF, t.ifOption);
    typeAndEnter(c.TxtIFFreq, t.ifFreqText);
}

}  // namespace orvenda::settings
