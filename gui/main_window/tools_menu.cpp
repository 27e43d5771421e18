// The "Tools" menu, between "Marker" and "Help": commands that go beyond the
// conversion itself. Each block adds the items of one tool.
#include <QAction>
#include <QMenu>

#include "gui/input/sigmf_recording_load.h"
#include "gui/main_window/frm_halvik_wave_main.h"
#include "gui/main_window/settings_profile_commands.h"
#include "gui/markers/frm_marker.h"
#include "gui/markers/marker_files_panel.h"
#include "gui/views/waveform_view_commands.h"

namespace orvenda {

void FrmHalvikWaveMain::buildToolsMenu(QMenu* tools) {
    // "Waveform View" and "Open Waveform File...".
    auto* waveformViews = new views::WaveformViewCommands(state_, dialogs_, {settings_, signalSource_}, this);
    waveformViews->addMenuItems(tools);

    {  // SigMF recordings as input
        auto* recordings = new input::SigmfRecordingLoad(*signalSource_, *settings_, state_.input, dialogs_, this);
        recordings->setObjectName(QStringLiteral("SigmfRecordingLoad"));
        QAction* load = tools->addAction(QStringLiteral("Load SigMF Recording..."));
        load->setObjectName(QStringLiteral("MnuLoadSigmf"));
        connect(load, &QAction::triggered, recordings, &input::SigmfRecordingLoad::run);
    }

    // --- settings profiles ---
    {
        // Loaded marker lists no longer come from the files named under
        // Marker Setup; an open editor shows them at once.
        auto* profiles = new SettingsProfileCommands(state_, dialogs_, *settings_, this, [this] {
            markerFiles_->setMarkerFileName(markers::MarkerNumber::One, QString());
            markerFiles_->setMarkerFileName(markers::MarkerNumber::Two, QString());
            if (markerEditor_) markerEditor_->showStoredMarkers();
        });
        const auto add = [this, tools](const char* caption, const char* name, auto command) {
            QAction* action = tools->addAction(QString::fromLatin1(caption));
            action->setObjectName(QString::fromLatin1(name));
            connect(action, &QAction::triggered, this, command);
        };
        add("Save Settings...", "MnuSaveSettings", [profiles] { profiles->saveSettings(); });
        add("Load Settings...", "MnuLoadSettings", [profiles] { profiles->loadSettings(); });
        add("Settings from Waveform File...", "MnuSettingsFromWaveform",
            [profiles] { profiles->settingsFromWaveformFile(); });
    }
    // --- end of settings profiles ---
}

}  // namespace orvenda
