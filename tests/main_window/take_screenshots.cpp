// Renders the documentation pictures: the main window after loading an input
// file, and the About window. Not a test; run it by hand:
//   QT_QPA_PLATFORM=offscreen <build>/tests/bin/take_screenshots text|float <input file> <folder>
// "text" loads two-column I/Q text ("Load IQ Data"), "float" float I/Q pairs.
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QPixmap>
#include <cstdio>

#include "core/state/comon_lib.h"
#include "gui/main_window/frm_about.h"
#include "gui/main_window/frm_halvik_wave_main.h"
#include "tests/support/scripted_dialogs.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    const QString kind = argc == 4 ? QString::fromLatin1(argv[1]) : QString();
    if (kind != QLatin1String("text") && kind != QLatin1String("float")) {
        std::fprintf(stderr, "usage: %s text|float <input file> <folder>\n", argv[0]);
        return 2;
    }
    const QString input = QFileInfo(QString::fromLocal8Bit(argv[2])).absoluteFilePath();
    const QDir folder(QString::fromLocal8Bit(argv[3]));

    orvenda::ComonLib state;
    orvenda::testing::ScriptedDialogs dialogs;
    orvenda::FrmHalvikWaveMain window(state, dialogs);
    window.show();
    dialogs.fileAnswers.push_back(input);
    const bool text = kind == QLatin1String("text");
    window.findChild<QAction*>(text ? QStringLiteral("MnuLoadIQ") : QStringLiteral("MnuLoadBf"))->trigger();
    for (const auto& message : dialogs.messages) std::fprintf(stderr, "message: %s\n", qPrintable(message.text));
    QApplication::processEvents();
    const bool mainSaved = window.grab().save(folder.filePath(QStringLiteral("main-window-loaded.png")));

    window.openAbout();
    QApplication::processEvents();
    const bool aboutSaved = window.aboutWindow()->grab().save(folder.filePath(QStringLiteral("about.png")));
    std::printf("samples %d, main window %s, About %s\n", state.input.DataSize, mainSaved ? "saved" : "NOT saved",
                aboutSaved ? "saved" : "NOT saved");
    return mainSaved && aboutSaved ? 0 : 1;
}
