// The "Tools" menu, between "Marker" and "Help": commands that go beyond the
// conversion itself. Each block adds the items of one tool.
#include <QMenu>

#include "gui/main_window/frm_halvik_wave_main.h"
#include "gui/views/waveform_view_commands.h"

namespace orvenda {

void FrmHalvikWaveMain::buildToolsMenu(QMenu* tools) {
    // "Waveform View" and "Open Waveform File...".
    auto* waveformViews = new views::WaveformViewCommands(state_, dialogs_, {settings_, signalSource_}, this);
    waveformViews->addMenuItems(tools);
}

}  // namespace orvenda
