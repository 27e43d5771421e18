// The "Tools" menu, between "Marker" and "Help": commands that go beyond the
// conversion itself. Each block adds the items of one tool.
#include <QMenu>

#include "gui/main_window/frm_halvik_wave_main.h"

namespace orvenda {

void FrmHalvikWaveMain::buildToolsMenu(QMenu* tools) {
    (void)tools;
}

}  // namespace orvenda
