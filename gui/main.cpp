// Orvenda: starts the main window.
#include <QApplication>
#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>

#include "core/state/comon_lib.h"
#include "gui/main_window/frm_halvik_wave_main.h"
#include "gui/common/user_dialogs.h"
#include "gui/views/startup_arguments.h"
#include "gui/views/waveform_view_commands.h"

namespace {

// Qt aborts when it finds no display; say what to do instead.
bool displayAvailable() {
    if (std::getenv("QT_QPA_PLATFORM"))
        return true;
    return std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY");
}

}  // namespace

int main(int argc, char* argv[]) {
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
    // "Orvenda FILE.awv" opens the view of that file at once.
    const orvenda::views::StartupArguments arguments =
        orvenda::views::parseStartupArguments(QApplication::arguments().mid(1));
    if (!arguments.problem.isEmpty())
        std::fprintf(stderr, "%s\n", qPrintable(arguments.problem));
    if (!arguments.waveformFile.isEmpty())
        window.findChild<orvenda::views::WaveformViewCommands*>()->openWaveformFile(arguments.waveformFile);
    return QApplication::exec();
}
