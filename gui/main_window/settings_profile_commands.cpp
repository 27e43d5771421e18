#include "gui/main_window/settings_profile_commands.h"

#include <QString>
#include <QWidget>

#include "core/profiles/header_profile.h"
#include "core/profiles/profile_snapshot.h"
#include "core/profiles/settings_file.h"
#include "gui/common/busy_pointer.h"
#include "gui/common/user_dialogs.h"
#include "gui/settings/settings_panel.h"

namespace orvenda {
namespace {

const QString kProfileFilter = QStringLiteral("Orvenda settings(*.orvenda)|*.orvenda|all files(*.*)|*.*");
const QString kWaveformFilter = QStringLiteral("AWG(*.awv)|*.awv|all files(*.*)|*.*");

std::string quoted(const QString& path) { return std::string(1, '"').append(path.toStdString()).append(1, '"'); }

}  // namespace

SettingsProfileCommands::SettingsProfileCommands(ComonLib& state, UserDialogs& dialogs, settings::SettingsPanel& panel,
                                                 QWidget* window, std::function<void()> markersReplaced)
    : QObject(window),
      state_(state),
      dialogs_(dialogs),
      panel_(panel),
      window_(window),
      markersReplaced_(std::move(markersReplaced)) {}

void SettingsProfileCommands::report(const std::string& text) {
    dialogs_.message(window_, QString::fromStdString(text), QString::fromLatin1(kProgramName));
}

void SettingsProfileCommands::saveSettings() {
    auto profile = profiles::profileOf(panel_.snapshot(), state_.markers);
    if (const auto* error = std::get_if<profiles::ProfileError>(&profile)) {
        report("The settings cannot be saved: " + error->message + ".");
        return;
    }
    const QString path = dialogs_.saveFile(window_, QStringLiteral("Save Settings"), kProfileFilter);
    if (path.isEmpty()) return;
    if (auto error = profiles::writeProfileFile(path.toStdString(), std::get<profiles::SettingsProfile>(profile)))
        report(error->message + ".");
}

void SettingsProfileCommands::loadSettings() {
    const QString path = dialogs_.openFile(window_, QStringLiteral("Load Settings"), kProfileFilter);
    if (path.isEmpty()) return;
    auto read = profiles::readSettingsFile(path.toStdString(), profiles::SettingsProfile{});
    if (const auto* error = std::get_if<profiles::ProfileError>(&read)) {
        report("The settings are not loaded: " + error->message + ".");
        return;
    }
    const profiles::LoadedSettings& loaded = std::get<profiles::LoadedSettings>(read);
    if (loaded.kind == profiles::SettingsFileKind::Waveform) {
        report(quoted(path) + " is a waveform file: use Settings from Waveform File.");
        return;
    }
    BusyPointer busy;
    profiles::storeProfilePoints(state_.markers, 1, loaded.profile.marker1Points);
    profiles::storeProfilePoints(state_.markers, 2, loaded.profile.marker2Points);
    markersReplaced_();
    panel_.applySnapshot(profiles::snapshotOf(loaded.profile));
}

void SettingsProfileCommands::settingsFromWaveformFile() {
    // What the header does not tell stays as it is, so the panel must be
    // readable as it stands.
    auto current = profiles::profileOf(panel_.snapshot(), state_.markers);
    if (const auto* error = std::get_if<profiles::ProfileError>(&current)) {
        report("The panel holds a value it has not checked: " + error->message + ".");
        return;
    }
    const QString path = dialogs_.openFile(window_, QStringLiteral("Settings from Waveform File"), kWaveformFilter);
    if (path.isEmpty()) return;
    auto read = profiles::readWaveformSettings(path.toStdString(), std::get<profiles::SettingsProfile>(current));
    if (const auto* error = std::get_if<profiles::ProfileError>(&read)) {
        report("The settings are not loaded: " + error->message + ".");
        return;
    }
    const profiles::LoadedSettings& loaded = std::get<profiles::LoadedSettings>(read);
    {
        BusyPointer busy;
        panel_.applySnapshot(profiles::snapshotOf(loaded.profile));
    }
    report("The settings of " + quoted(path) + " are set. Its header does not tell " +
           profiles::joinedList(loaded.untold) + "; they stay as they were.");
}

}  // namespace orvenda
