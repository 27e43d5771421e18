// Renders the documentation pictures of the waveform view: each tab of the
// window showing one ".awv" file, and the time view zoomed in to single
// samples. Not a test; run by scripts/screenshot-views.sh:
//   QT_QPA_PLATFORM=offscreen <build>/bin/take_view_screenshots <file.awv> <folder>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTabWidget>
#include <cstdio>

#include "gui/views/waveform_view_window.h"
#include "tests/support/scripted_dialogs.h"

namespace {

// Runs events until the view is idle (at most 60 s).
bool settle(const orvenda::views::WaveformViewWindow& view) {
    QElapsedTimer clock;
    clock.start();
    do {
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    } while ((view.busy() || !view.hasSignal()) && clock.elapsed() < 60000);
    QApplication::processEvents();
    return view.hasSignal() && !view.busy();
}

}  // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s <file.awv> <folder>\n", argv[0]);
        return 2;
    }
    const QDir folder(QString::fromLocal8Bit(argv[2]));
    orvenda::testing::ScriptedDialogs dialogs;
    orvenda::views::WaveformViewWindow view(dialogs);
    view.resize(1200, 640);
    view.show();
    view.openWaveformFile(QString::fromLocal8Bit(argv[1]));
    if (!settle(view)) {
        for (const auto& message : dialogs.messages) std::fprintf(stderr, "message: %s\n", qPrintable(message.text));
        return 1;
    }
    auto* tabs = view.findChild<QTabWidget*>(QStringLiteral("TabViews"));
    const char* names[] = {"view-time.png", "view-spectrum.png", "view-constellation.png", "view-ccdf.png"};
    bool saved = true;
    for (int tab = 0; tab < 4; ++tab) {
        tabs->setCurrentIndex(tab);
        QApplication::processEvents();
        saved = view.grab().save(folder.filePath(QString::fromLatin1(names[tab]))) && saved;
    }
    tabs->setCurrentIndex(orvenda::views::WaveformViewWindow::TimeTab);
    view.setVisibleRange({8160, 64});
    QElapsedTimer clock;
    clock.start();
    while (view.timeTraces().count != 64 && clock.elapsed() < 10000)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    QApplication::processEvents();
    saved = view.grab().save(folder.filePath(QStringLiteral("view-time-zoomed.png"))) && saved;
    std::printf("%s\n", saved ? "saved" : "NOT saved");
    return saved ? 0 : 1;
}
