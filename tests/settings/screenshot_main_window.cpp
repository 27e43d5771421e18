// Renders the main window as it opens into a PNG (for the documentation):
//   screenshot_main_window <out.png>
// Run it under the offscreen platform or a virtual display.
#include <QApplication>
#include <QPixmap>
#include <QTest>
#include <cstdio>

#include "core/state/comon_lib.h"
#include "gui/main_window/frm_halvik_wave_main.h"
#include "tests/support/scripted_dialogs.h"

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <out.png>\n", argv[0]);
        return 2;
    }
    QApplication app(argc, argv);
    orvenda::ComonLib state;
    orvenda::testing::ScriptedDialogs dialogs;
    orvenda::FrmHalvikWaveMain window(state, dialogs);
    // Qt opens a window at most 2/3 of the screen; the offscreen screen is
    // small, so take the size the window asks for, as on a desktop.
    window.resize(window.sizeHint());
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) {
        std::fprintf(stderr, "the main window was never shown\n");
        return 1;
    }
    QApplication::processEvents();
    const QPixmap picture = window.grab();
    if (!picture.save(QString::fromLocal8Bit(argv[1]), "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", argv[1]);
        return 1;
    }
    std::printf("%s: %dx%d\n", argv[1], picture.width(), picture.height());
    return 0;
}
