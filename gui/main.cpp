// Orvenda: starts the main window.
#include <QApplication>
#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "common/orvenda_version.h"
#include "core/state/comon_lib.h"
#include "gui/main_window/frm_halvik_wave_main.h"
#include "gui/common/user_dialogs.h"

namespace {

// Qt aborts when it finds no display; say what to do instead.
bool displayAvailable() {
    if (std::getenv("QT_QPA_PLATFORM"))
        return true;
    return std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY");
}

bool versionAsked(int argc, char* argv[]) {
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], "--version") == 0)
            return true;
    return false;
}

}  // namespace

int main(int argc, char* argv[]) {
    // Answered before Qt starts, so it needs no display.
    if (versionAsked(argc, argv)) {
        std::printf("Orvenda %s\n", orvenda::kVersion);
        return 0;
    }
    if (!displayAvailable()) {
        std::fprintf(stderr,
                     "Orvenda needs a desktop display, and none was found (DISPLAY and WAYLAND_DISPLAY are "
                     "unset).\nRun it on a desktop, or under a virtual display:  xvfb-run -a %s\n",
                     argv[0]);
        return 1;
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Orvenda"));
    orvenda::ComonLib state;
    orvenda::QtUserDialogs dialogs;
    orvenda::FrmHalvikWaveMain window(state, dialogs);
    window.show();
    return QApplication::exec();
}
