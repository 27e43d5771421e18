// "BaseBand Transform" and "IF Transform": check the values, ask for the
// output file, mark the window busy, call Halvik once, restore the window.
#ifndef ORVENDA_GUI_MAIN_WINDOW_TRANSFORM_COMMANDS_H
#define ORVENDA_GUI_MAIN_WINDOW_TRANSFORM_COMMANDS_H

#include <QObject>
#include <utility>

#include "core/state/comon_lib.h"
#include "core/transform/halvik_library.h"
#include "core/transform/settings_record.h"

class QPushButton;
class QWidget;

namespace orvenda {

class UserDialogs;
namespace settings {
class SettingsPanel;
}
namespace input {
class SignalSourceGroup;
}

class TransformCommands : public QObject {
    Q_OBJECT
public:
    struct Controls {
        const settings::SettingsPanel* panel;
        const input::SignalSourceGroup* signalSource;
        QPushButton* baseBandButton;  // BtnTransform
        QPushButton* ifButton;        // BtnTransIF
    };
    // `window` parents the dialogs and messages.
    TransformCommands(ComonLib& state, UserDialogs& dialogs, Controls controls, QWidget* window);

    void runBaseBand();
    void runIF();

    // The engine loader; tests swap in one that looks elsewhere.
    void useLibrary(HalvikLibrary library) { library_ = std::move(library); }

private:
    void run(TransformKind kind);
    TransformRequest currentRequest(TransformKind kind) const;

    ComonLib& state_;
    UserDialogs& dialogs_;
    Controls controls_;
    QWidget* window_;
    HalvikLibrary library_;
    // Pending events run inside a command; a second command started from them
    // is dropped (no message) rather than entering the engine inside the first.
    bool running_ = false;
};

}  // namespace orvenda

#endif
