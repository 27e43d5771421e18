// The progress panel in a process that runs a Qt GUI: a real window built
// from the panel file, showing the stage text and the percentage as the
// engine sets them, gone again once discarded.
#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QTest>

#include <algorithm>
#include <atomic>
#include <string>
#include <thread>
#include <vector>

#include "engine/conversion.h"
#include "engine/rte/rte_api.h"
#include "tests/engine/engine_test_support.h"

namespace {

QWidget* panelWindow() {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->objectName() == QStringLiteral("rtePanel1")) return w;
    }
    return nullptr;
}

// Watches the panel while a conversion runs on this thread.
class PanelWatcher : public QObject {
public:
    bool shown = false;
    int windowsShown = 0;
    std::vector<QString> stages;
    std::vector<int> percents;

protected:
    bool eventFilter(QObject* object, QEvent* event) override {
        auto* widget = qobject_cast<QWidget*>(object);
        if (widget && event->type() == QEvent::Show && widget->objectName() == QStringLiteral("rtePanel1")) {
            shown = true;
            ++windowsShown;
        }
        if (widget && event->type() == QEvent::Paint) {
            if (auto* label = qobject_cast<QLabel*>(widget);
                label && label->objectName() == QStringLiteral("control2Text")) {
                if (stages.empty() || stages.back() != label->text()) stages.push_back(label->text());
            }
            if (auto* bar = qobject_cast<QProgressBar*>(widget)) {
                if (percents.empty() || percents.back() != bar->value()) percents.push_back(bar->value());
            }
        }
        return false;
    }
};

}  // namespace

class RteWindowTest : public QObject {
    Q_OBJECT

private slots:
    void showsTheStageAndPercentage() {
        QCOMPARE(RteInit(), 0);
        const std::string panelFile = std::string(ORVENDA_BIN_DIR) + "/Halvik.uir";
        const int panel = RteLoadPanel(0, panelFile.c_str(), 1);
        QVERIFY(panel > 0);
        QCOMPARE(RteDisplayPanel(panel), 0);

        QWidget* window = panelWindow();
        QVERIFY(window != nullptr);
        QVERIFY(window->isVisible());
        QCOMPARE(window->windowTitle(), QStringLiteral("Halvik"));
        auto* stage = window->findChild<QLabel*>(QStringLiteral("control2Text"));
        auto* bar = window->findChild<QProgressBar*>(QStringLiteral("control2Bar"));
        QVERIFY(stage && bar);
        QCOMPARE(stage->text(), QStringLiteral("Preparing..."));
        QCOMPARE(bar->value(), 0);

        QCOMPARE(RteSetCtrlAttribute(panel, 2, RTE_ATTR_LABEL_TEXT, "Writing data..."), 0);
        QCOMPARE(RteProcessDrawEvents(), 0);
        QCOMPARE(stage->text(), QStringLiteral("Writing data..."));
        QCOMPARE(RteSetCtrlVal(panel, 2, 42.7), 0);
        QCOMPARE(bar->value(), 42);

        QCOMPARE(RteDiscardPanel(panel), 0);
        QVERIFY(panelWindow() == nullptr);
        QCOMPARE(RteClose(), 0);
    }

    void aConversionShowsItsProgressAndCleansUp() {
        halvik::test::ScratchDir dir;
        std::string text;
        for (int k = 0; k < 50000; ++k) text += std::to_string((k % 200) / 100.0 - 1.0) + " 0.5\n";
        halvik::test::writeFile(dir.file("in.txt"), text);
        ConversionSettings settings = halvik::test::quietSettings();
        settings.IFConvert = 1;
        settings.Fs = 1e6;
        settings.IFFreq = 1e5;
        halvik::ConversionRequest request;
        request.iPath = dir.file("in.txt");
        request.inputDataType = 1;
        request.inputFileKind = 4;
        request.sampleCount = 50000;  // 49 blocks a pass
        request.settings = &settings;
        request.outPath = dir.file("out.awv");

        PanelWatcher watcher;
        qApp->installEventFilter(&watcher);
        const int32_t result = halvik::convert(request);
        qApp->removeEventFilter(&watcher);

        QCOMPARE(result, 0);
        QVERIFY(watcher.shown);
        QVERIFY(std::find(watcher.stages.begin(), watcher.stages.end(), QStringLiteral("Converting BB to IF...")) !=
                watcher.stages.end());
        QCOMPARE(watcher.stages.back(), QStringLiteral("Writing data..."));
        // Redrawn while the work went on: rising through each pass, back to 0
        // at most once (when the write pass starts).
        QVERIFY(watcher.percents.size() >= 10);
        int drops = 0;
        for (std::size_t k = 1; k < watcher.percents.size(); ++k)
            drops += watcher.percents[k] < watcher.percents[k - 1];
        QVERIFY(drops <= 1);
        QVERIFY(*std::max_element(watcher.percents.begin(), watcher.percents.end()) >= 90);
        QVERIFY(panelWindow() == nullptr);
    }

    // Worker threads convert while this (GUI) thread converts with its
    // window: only the GUI thread's conversion gets a window, every file is
    // the one a lone call writes.
    void workerThreadsConvertBesideTheWindow() {
        halvik::test::ScratchDir dir;
        std::string text;
        for (int k = 0; k < 20000; ++k) text += std::to_string((k % 200) / 100.0 - 1.0) + " 0.5\n";
        halvik::test::writeFile(dir.file("in.txt"), text);
        ConversionSettings settings = halvik::test::quietSettings();
        settings.IFConvert = 1;
        settings.Fs = 1e6;
        settings.IFFreq = 1e5;
        auto request = [&](const std::string& out) {
            halvik::ConversionRequest r;
            r.iPath = dir.file("in.txt");
            r.inputDataType = 1;
            r.inputFileKind = 4;
            r.sampleCount = 20000;
            r.settings = &settings;
            r.outPath = out;
            return r;
        };
        QCOMPARE(halvik::convert(request(dir.file("alone.awv"))), 0);
        const std::string alone = halvik::test::withoutDateLine(halvik::test::readFile(dir.file("alone.awv")));

        std::atomic<bool> stop{false};
        std::vector<int> failures(3, 0), calls(3, 0);
        std::vector<std::thread> workers;
        for (int t = 0; t < 3; ++t) {
            workers.emplace_back([&, t] {
                const std::string out = dir.file("worker" + std::to_string(t) + ".awv");
                while (!stop.load() || calls[t] < 3) {
                    ++calls[t];
                    if (halvik::convert(request(out)) != 0 ||
                        halvik::test::withoutDateLine(halvik::test::readFile(out)) != alone)
                        ++failures[t];
                }
            });
        }
        PanelWatcher watcher;
        qApp->installEventFilter(&watcher);
        std::vector<int32_t> results;
        for (int k = 0; k < 3; ++k) results.push_back(halvik::convert(request(dir.file("gui.awv"))));
        qApp->removeEventFilter(&watcher);
        stop.store(true);
        for (std::thread& worker : workers) worker.join();

        for (int32_t result : results) QCOMPARE(result, 0);
        QVERIFY(halvik::test::withoutDateLine(halvik::test::readFile(dir.file("gui.awv"))) == alone);
        for (int t = 0; t < 3; ++t) QCOMPARE(failures[t], 0);
        QVERIFY(watcher.shown);
        QCOMPARE(watcher.windowsShown, 3);  // one per GUI-thread conversion, none for the workers
        QVERIFY(panelWindow() == nullptr);
    }

    void anInvalidHandleIsRefusedWithoutAWindow() {
        QCOMPARE(RteInit(), 0);
        QCOMPARE(RteDisplayPanel(12345), static_cast<int>(RTE_ERR_BAD_HANDLE));
        QCOMPARE(RteSetCtrlVal(12345, 2, 1.0), static_cast<int>(RTE_ERR_BAD_HANDLE));
        QCOMPARE(RteClose(), 0);
        QVERIFY(panelWindow() == nullptr);
    }
};

QTEST_MAIN(RteWindowTest)
#include "rte_window_test.moc"
