#include "gui/settings/settings_panel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

#include "gui/settings/frame_box.h"
#include "gui/settings/option_group.h"
#include "gui/settings/panel_controls.h"
#include "gui/settings/panel_entry_rules.h"
#include "gui/settings/panel_interlocks.h"

namespace orvenda::settings {

SettingsPanel::SettingsPanel(SequenceMemory& memory, QWidget* window)
    : QObject(window),
      memory_(memory),
      controls_(std::make_unique<PanelControls>(buildPanelControls(window))),
      interlocks_(std::make_unique<PanelInterlocks>(*controls_, memory_)) {
    setObjectName(QStringLiteral("SettingsPanel"));
    // Connected after the initial state is set, so building it runs nothing;
    // `this` as context ends every connection before the controls go away.
    interlocks_->connectReactions(this);
    connectEntryRules(*controls_, this);
}

SettingsPanel::~SettingsPanel() = default;

QWidget* SettingsPanel::outputControlFrame() const { return controls_->outputControl; }
QWidget* SettingsPanel::outputSetupFrame() const { return controls_->outputSetup; }
QWidget* SettingsPanel::markerGroup() const { return controls_->marker; }
QWidget* SettingsPanel::intermediateFrequencyFrame() const { return controls_->intermediate; }

PanelSnapshot SettingsPanel::snapshot() const {
    const PanelControls& c = *controls_;
    const auto text = [](const QLineEdit* box) { return box->text().toStdString(); };
    PanelSnapshot s;
    s.iqFilterOn = c.ChkIQFilter->isChecked();
    s.filterIndex = c.CmbFilt->currentIndex();
    s.iqInverse = c.ChkIQInv->isChecked();
    s.awgGainText = text(c.TxtAWGGain);
    s.iqOffsetOn = c.ChkIQOffset->isChecked();
    s.iqOffsetLock = c.ChkIQOffsetLock->isChecked();
    s.iOffsetText = text(c.TxtIOffset);
    s.qOffsetText = text(c.TxtQOffset);
    s.iqOutputOn = c.ChkIQOutput->isChecked();
    s.iqOutputOption = c.OptIQOutput->selected();
    s.iqOutputLock = c.ChkIQOutputLock->isChecked();
    s.iOutputText = text(c.TxtIOutput);
    s.qOutputText = text(c.TxtQOutput);
    s.outputSequenceOn = c.ChkOutputSequence->isChecked();
    s.outputSequenceOption = c.OptOutputSequence->selected();
    s.gatedOption = c.OptGated->selected();
    s.loopNumText = text(c.TxtLoopNum);
    s.startTriggerOn = c.ChkStartTrigger->isChecked();
    s.startTriggerOption = c.OptStartTrigger->selected();
    s.linkOption = c.OptLink->selected();
    s.fsText = text(c.TxtFs);
    s.markerModeOn = c.ChkMarkerMode->isChecked();
    s.markOption = c.OptMark->selected();
    s.mark1On = c.ChkMark1->isChecked();
    s.mark2On = c.ChkMark2->isChecked();
    s.ifOption = c.OptIF->selected();
    s.ifFreqText = text(c.TxtIFFreq);
    return s;
}

// The changes in the order the marker commands make them; each one runs the
// reaction a user's click would (the marker switch, then the edit mode).
void SettingsPanel::switchMarkerOutputOn(markers::MarkerNumber marker, bool checkOnBoxFirst) {
    PanelControls& c = *controls_;
    const bool first = marker == markers::MarkerNumber::One;
    QCheckBox* own = first ? c.ChkMark1 : c.ChkMark2;
    QCheckBox* other = first ? c.ChkMark2 : c.ChkMark1;
    if (checkOnBoxFirst) own->setChecked(true);
    c.ChkMarkerMode->setChecked(true);
    c.OptMark->setOptionEnabled(0, true);
    c.OptMark->clear(0);
    c.OptMark->setOptionEnabled(1, true);
    c.OptMark->select(1);
    own->setEnabled(true);
    own->setChecked(true);
    other->setEnabled(true);
}

void SettingsPanel::setMarkerOn(markers::MarkerNumber marker, bool on) {
    (marker == markers::MarkerNumber::One ? controls_->ChkMark1 : controls_->ChkMark2)->setChecked(on);
}

void SettingsPanel::setSamplingFrequencyText(const std::string& text) {
    controls_->TxtFs->setText(QString::fromStdString(text));
}

}  // namespace orvenda::settings
