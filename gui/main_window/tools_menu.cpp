// The "Tools" menu, between "Marker" and "Help": commands that go beyond the
// conversion itself. Each block adds the items of one tool.
#include <QMenu>

#include "gui/input/sigmf_recording_load.h"
#include "gui/main_window/frm_halvik_wave_main.h"

namespace orvenda {

void FrmHalvikWaveMain::buildToolsMenu(QMenu* tools) {
    {  // SigMF recordings as input
        auto* recordings = new input::SigmfRecordingLoad(*signalSource_, *settings_, state_.input, dialogs_, this);
        recordings->setObjectName(QStringLiteral("SigmfRecordingLoad"));
        QAction* load = tools->addAction(QStringLiteral("Load SigMF Recording..."));
        load->setObjectName(QStringLiteral("MnuLoadSigmf"));
        connect(load, &QAction::triggered, recordings, &input::SigmfRecordingLoad::run);
    }
}

}  // namespace orvenda
