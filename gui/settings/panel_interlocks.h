// The click reactions of the settings panel: which controls a switch or an
// option enables, the coupled output-sequence and start-trigger switches,
// the output sequence remembered per trigger source, and the interlock copies.
//
// Every reaction is bound to the control's state change, not to the mouse:
// a check box's reaction to toggled(), an option group's to the selection of
// one of its options. So setting a check box from code runs its reaction when
// the state changes, selecting an option from code runs its group's reaction,
// and clearing an option runs nothing - the reactions below rely on that.
#ifndef ORVENDA_GUI_SETTINGS_PANEL_INTERLOCKS_H
#define ORVENDA_GUI_SETTINGS_PANEL_INTERLOCKS_H

#include "core/settings/sequence_memory.h"
#include "gui/settings/panel_controls.h"

class QObject;

namespace orvenda::settings {

class PanelInterlocks {
public:
    PanelInterlocks(PanelControls& controls, SequenceMemory& memory);

    // Connects every reaction; `context` ends the connections when it dies.
    void connectReactions(QObject* context);

private:
    void iqFilterSwitch();
    void iqOffsetSwitch();
    void offsetInterlock();
    void iqOutputSwitch();
    void gainPathChoice();
    void outputInterlock();
    void markerSwitch();
    void markerEditModeChoice();
    void sequenceSwitch();
    void triggerSwitch();
    void RefreshStartTrigger();
    void RefreshOutputSequence();
    void sequenceChoice();
    void triggerSourceChoice();

    void setGainControlsEnabled(bool enabled);
    void setGatedEnabled(bool enabled);
    // Selects output sequence `mode` as a restore does (clearing the others).
    void restoreSequence(int mode);

    PanelControls& c_;
    SequenceMemory& memory_;
};

}  // namespace orvenda::settings

#endif
