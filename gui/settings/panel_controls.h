// The controls of the settings panel, by their names. Only the panel's own
// files see this; the window and the commands see the panel's snapshot.
#ifndef ORVENDA_GUI_SETTINGS_PANEL_CONTROLS_H
#define ORVENDA_GUI_SETTINGS_PANEL_CONTROLS_H

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QWidget;

namespace orvenda::settings {

class FrameBox;
class OptionGroup;

struct PanelControls {
    // Frames handed to the window.
    FrameBox* outputControl = nullptr;  // "IQ Output Control"
    FrameBox* outputSetup = nullptr;    // "Output Setup"
    FrameBox* marker = nullptr;         // "      Marker"
    FrameBox* intermediate = nullptr;   // "Intermidiate Frequency"

    // "IQ Output Control"
    QCheckBox* ChkIQFilter = nullptr;
    QComboBox* CmbFilt = nullptr;
    QCheckBox* ChkIQInv = nullptr;
    QLineEdit* TxtAWGGain = nullptr;
    QCheckBox* ChkIQOffset = nullptr;
    QCheckBox* ChkIQOffsetLock = nullptr;
    QLabel* LblIQOffsetI = nullptr;
    QLabel* LblIQOffsetQ = nullptr;
    QLineEdit* TxtIOffset = nullptr;
    QLineEdit* TxtQOffset = nullptr;
    QLabel* LblIQOffsetUnitI = nullptr;
    QLabel* LblIQOffsetUnitQ = nullptr;
    QCheckBox* ChkIQOutput = nullptr;
    OptionGroup* OptIQOutput = nullptr;
    QCheckBox* ChkIQOutputLock = nullptr;
    QLabel* LblIQOutputI = nullptr;
    QLabel* LblIQOutputQ = nullptr;
    QLineEdit* TxtIOutput = nullptr;
    QLineEdit* TxtQOutput = nullptr;
    QLabel* LblIQOutputUnitI = nullptr;
    QLabel* LblIQOutputUnitQ = nullptr;

    // "Output Setup"
    QCheckBox* ChkOutputSequence = nullptr;
    OptionGroup* OptOutputSequence = nullptr;
    OptionGroup* OptGated = nullptr;
    QLineEdit* TxtLoopNum = nullptr;
    QLabel* LblLoopNum = nullptr;
    QCheckBox* ChkStartTrigger = nullptr;
    OptionGroup* OptStartTrigger = nullptr;
    OptionGroup* OptLink = nullptr;
    QLineEdit* TxtFs = nullptr;

    // group "Marker"
    QCheckBox* ChkMarkerMode = nullptr;
    OptionGroup* OptMark = nullptr;
    QCheckBox* ChkMark1 = nullptr;
    QCheckBox* ChkMark2 = nullptr;

    // "Intermidiate Frequency"
    OptionGroup* OptIF = nullptr;
    QLineEdit* TxtIFFreq = nullptr;
};

// Builds every control in its designed initial state (values, list entries
// and enabled flags), laid out in its frames; no reaction is connected yet.
PanelControls buildPanelControls(QWidget* parent);

}  // namespace orvenda::settings

#endif
