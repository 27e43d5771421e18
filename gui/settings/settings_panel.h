// The output settings of the main window: I/Q filter, data full scale, I/Q
// offset and output, output sequence and start trigger, sampling frequency,
// marker switches and the IF carrier. It builds its frames, runs their
// interlocks and Enter rules, and tells the window its values as a snapshot.
#ifndef ORVENDA_GUI_SETTINGS_SETTINGS_PANEL_H
#define ORVENDA_GUI_SETTINGS_SETTINGS_PANEL_H

#include <QObject>
#include <memory>
#include <string>

#include "core/markers/marker_number.h"
#include "core/settings/panel_snapshot.h"
#include "core/settings/sequence_memory.h"

class QWidget;

namespace orvenda::settings {

struct PanelControls;
class PanelInterlocks;

class SettingsPanel : public QObject {
    Q_OBJECT
public:
    // `memory` is the program-wide SeqModeInternal / SeqModeLink pair. The
    // frames are created as children of `window` in their designed initial
    // state, with the I/Q filter list filled and its first entry selected.
    SettingsPanel(SequenceMemory& memory, QWidget* window);
    ~SettingsPanel() override;

    // The frames, for the window to lay out (the window takes ownership).
    QWidget* outputControlFrame() const;          // "IQ Output Control"
    QWidget* outputSetupFrame() const;            // "Output Setup"
    QWidget* markerGroup() const;                 // group "Marker", placed in "Marker Setup"
    QWidget* intermediateFrequencyFrame() const;  // "Intermidiate Frequency"

    PanelSnapshot snapshot() const;

    // A marker list was loaded or set for marker 1 or 2: marker output on,
    // "Manual Edit" selected, both ON boxes enabled, this marker's box checked.
    // `checkOnBoxFirst` checks the marker's ON box before the rest, as the
    // marker file load does. Each change runs its click reaction.
    void switchMarkerOutputOn(markers::MarkerNumber marker, bool checkOnBoxFirst);
    // Checks or unchecks the ON box of marker 1 or 2 (running its reaction).
    void setMarkerOn(markers::MarkerNumber marker, bool on);
    // "Sampling Freq" shows `text` (already as Enter leaves it, in MHz).
    void setSamplingFrequencyText(const std::string& text);

    // Sets the panel to `target` as a user would (settings_panel_apply.cpp):
    // a group is switched on to reach its controls, options are clicked in an
    // order the interlocks allow, a text that differs is typed and entered
    // (so an interlocked partner follows), and the switches end as `target`
    // has them. Every reaction runs, so the enabling rules and the sequence
    // memory come out as after the same clicks. `target` must be a state the
    // panel can reach: texts in their Enter form, "Gated" only with "Link",
    // interlocked pairs equal, both sequence switches alike.
    void applySnapshot(const PanelSnapshot& target);

private:
    SequenceMemory& memory_;
    std::unique_ptr<PanelControls> controls_;
    std::unique_ptr<PanelInterlocks> interlocks_;
};

}  // namespace orvenda::settings

#endif
