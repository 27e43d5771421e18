// "Load SigMF Recording..." of the Tools menu: reads a recording's metadata,
// makes its samples ready for the engine (a temporary float file for the
// datatypes the engine does not read itself) and loads them through the
// binary load of the matching layout, with every rule of that load. Then
// "Sampling Freq" takes the recording's rate when it is within the field's
// limits. A temporary file lives until another load replaces it or the
// window goes.
#ifndef ORVENDA_GUI_INPUT_SIGMF_RECORDING_LOAD_H
#define ORVENDA_GUI_INPUT_SIGMF_RECORDING_LOAD_H

#include <QObject>

#include <optional>

#include "core/input/loaded_input.h"
#include "core/sigmf/engine_samples.h"

class QWidget;

namespace orvenda {
class UserDialogs;
namespace settings {
class SettingsPanel;
}
}  // namespace orvenda

namespace orvenda::input {

class SignalSourceGroup;

inline constexpr char kSigmfDialogTitle[] = "SigMF Recording Load";
inline constexpr char kSigmfFileFilter[] =
    "SigMF meta files(*.sigmf-meta)|*.sigmf-meta|SigMF data files(*.sigmf-data)|*.sigmf-data|all files(*.*)|*.*";

class SigmfRecordingLoad : public QObject {
    Q_OBJECT
public:
    SigmfRecordingLoad(SignalSourceGroup& group, settings::SettingsPanel& panel, const LoadedInput& state,
                       UserDialogs& dialogs, QWidget* window);
    ~SigmfRecordingLoad() override;

    void run();
    // The file the loaded recording's samples are read from (tests).
    std::optional<std::string> samplesPath() const;

private:
    void releaseWhenReplaced();

    SignalSourceGroup& group_;
    settings::SettingsPanel& panel_;
    const LoadedInput& state_;
    UserDialogs& dialogs_;
    QWidget* window_;
    std::optional<sigmf::PreparedSamples> current_;
};

}  // namespace orvenda::input

#endif
