// "Save Settings...", "Load Settings..." and "Settings from Waveform File..."
// of the Tools menu: the panel's settings and both marker lists to and from
// a settings profile, and the settings a waveform file's header tells.
#ifndef ORVENDA_GUI_MAIN_WINDOW_SETTINGS_PROFILE_COMMANDS_H
#define ORVENDA_GUI_MAIN_WINDOW_SETTINGS_PROFILE_COMMANDS_H

#include <QObject>
#include <functional>

#include "core/state/comon_lib.h"

class QWidget;

namespace orvenda {

class UserDialogs;
namespace settings {
class SettingsPanel;
}

class SettingsProfileCommands : public QObject {
    Q_OBJECT
public:
    // `markersReplaced` runs after a load replaced both marker lists (the
    // window clears the marker file names and redraws the editor).
    SettingsProfileCommands(ComonLib& state, UserDialogs& dialogs, settings::SettingsPanel& panel, QWidget* window,
                            std::function<void()> markersReplaced);

    // A field the panel has not brought into its limits is named and
    // nothing is asked; otherwise the save dialog, then the file.
    void saveSettings();
    // A refused file is named and the panel and the markers stay as they were.
    void loadSettings();
    // Sets what the header tells; a message lists what it cannot tell.
    void settingsFromWaveformFile();

private:
    void report(const std::string& text);

    ComonLib& state_;
    UserDialogs& dialogs_;
    settings::SettingsPanel& panel_;
    QWidget* window_;
    std::function<void()> markersReplaced_;
};

}  // namespace orvenda

#endif
