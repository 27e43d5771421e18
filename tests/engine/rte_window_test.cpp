// The progress panel in a process that runs a Qt GUI: a real window built
// from the panel file, showing the stage text and the percentage as the
// engine sets them, gone again once discarded.
#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QTest>

#include <algorithm>
#include <string>
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
    std::vector<QString> stages;
    std::vector<int> percents;

protected:
    bool eventFilter(QObject* object, QEvent* event) override {
        auto* widget = qobject_cast<QWidget*>(object);
        if (widget && event->type() == QEvent::Show && widget->objectName() == QStringLiteral("rtePanel1")) shown = true;
        if (widget && event->type() == QEvent::Paint) {
            if (auto* label = qobject_cast<QLabel*>(widget); label && label->objectName() == QStringLiteral("control2Text")) {
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
        for (std::size_t k = 1; k < watcher.percents.size(); ++k) drops += watcher.percents[k] < watcher.percents[k - 1];
        QVERIFY(drops <= 1);
        QVERIFY(*std::max_element(watcher.percents.begin(), watcher.percents.end()) >= 90);
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
