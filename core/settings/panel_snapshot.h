// The raw values of the settings panel at one moment, as the transform
// commands read them: texts as typed, check states, selected options.
#ifndef ORVENDA_GUI_SETTINGS_PANEL_SNAPSHOT_H
#define ORVENDA_GUI_SETTINGS_PANEL_SNAPSHOT_H

#include <string>

namespace orvenda::settings {

// Index of the selected option of a group, -1 when none is selected.
using OptionIndex = int;

struct PanelSnapshot {
    bool iqFilterOn = false;          // ChkIQFilter
    int filterIndex = 0;              // CmbFilt
    bool iqInverse = false;           // ChkIQInv
    std::string awgGainText = "1.0";  // TxtAWGGain

    bool iqOffsetOn = false;   // ChkIQOffset
    bool iqOffsetLock = true;  // ChkIQOffsetLock
    std::string iOffsetText = "200";
    std::string qOffsetText = "200";

    bool iqOutputOn = false;         // ChkIQOutput
    OptionIndex iqOutputOption = 0;  // OptIQOutput
    bool iqOutputLock = true;        // ChkIQOutputLock
    std::string iOutputText = "2000";
    std::string qOutputText = "2000";

    bool outputSequenceOn = false;         // ChkOutputSequence
    OptionIndex outputSequenceOption = 0;  // OptOutputSequence
    OptionIndex gatedOption = 0;           // OptGated
    std::string loopNumText = "1";         // TxtLoopNum

    bool startTriggerOn = false;         // ChkStartTrigger
    OptionIndex startTriggerOption = 0;  // OptStartTrigger
    OptionIndex linkOption = 0;          // OptLink

    std::string fsText = "200.000000000000";  // TxtFs, MHz

    bool markerModeOn = false;   // ChkMarkerMode
    OptionIndex markOption = 0;  // OptMark
    bool mark1On = false;        // ChkMark1
    bool mark2On = false;        // ChkMark2

    OptionIndex ifOption = 0;         // OptIF
    std::string ifFreqText = "21.4";  // TxtIFFreq, MHz

    bool operator==(const PanelSnapshot&) const = default;
};

}  // namespace orvenda::settings

#endif
