// Orvenda: starts the main window.
#include <QApplication>
#include <QGuiApplication>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "common/orvenda_version.h"
#include "core/state/comon_lib.h"
#include "gui/common/user_dialogs.h"
#include "gui/main_window/frm_halvik_wave_main.h"
#include "gui/views/startup_arguments.h"
#include "gui/views/waveform_view_commands.h"

namespace {

// Qt aborts when it finds no display; say what to do instead.
bool displayAvailable() {
    if (std::getenv("QT_QPA_PLATFORM")) return true;
    return std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY");
}

bool asked(int argc, char* argv[], const char* option) {
    for (int i = 1; i < argc; ++i)
        if (std::strcmp(argv[i], option) == 0) return true;
    return false;
}

constexpr char kHelp[] = R"(Usage: Orvenda [FILE.awv]
Turns baseband I/Q samples (text, CSV, 16-bit or float binary) into a
waveform file (.awv) for the arbitrary-waveform option of a signal generator:
load the samples, set the generator's output options, draw two marker
signals and press "BaseBand Transform" or "IF Transform".

With FILE.awv, the waveform view of that file opens beside the main window.

Options:
  --help      Print this help and exit
  --version   Print the program's version and exit

Without a display, use orvenda-cli (see "orvenda-cli --help"), or run the
window under a virtual display: xvfb-run -a Orvenda
)";

}  // namespace

int main(int argc, char* argv[]) {
    // Answered before Qt starts, so it needs no display.
    if (asked(argc, argv, "--version")) {
        std::printf("Orvenda %s\n", orvenda::kVersion);
        return 0;
    }
    if (asked(argc, argv, "--help")) {
        std::fputs(kHelp, stdout);
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
    // "Orvenda FILE.awv" opens the view of that file at once.
    const orvenda::views::StartupArguments arguments =
        orvenda::views::parseStartupArguments(QApplication::arguments().mid(1));
    if (!arguments.problem.isEmpty()) std::fprintf(stderr, "%s\n", qPrintable(arguments.problem));
    if (!arguments.waveformFile.isEmpty())
        window.findChild<orvenda::views::WaveformViewCommands*>()->openWaveformFile(arguments.waveformFile);
    return QApplication::exec();
}
