// Program start, the menu bar, the one marker editor and the one About
// window, closing and "Exit", through the real main window.
#include <QComboBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "gui/main_window/frm_about.h"
#include "gui/markers/frm_marker.h"
#include "tests/main_window/window_test_support.h"

namespace orvenda::testing {
namespace {

int visibleTopLevels(const char* className) {
    int count = 0;
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        if (widget->isVisible() && widget->inherits(className)) ++count;
    }
    return count;
}

// Deletes the windows closed with WA_DeleteOnClose.
void settle() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
}

QStringList visibleCaptions(const QMenu* menu) {
    QStringList captions;
    for (const QAction* action : menu->actions()) {
        if (action->isVisible()) captions << (action->isSeparator() ? QStringLiteral("-") : action->text());
    }
    return captions;
}

}  // namespace

class MainWindowMenusTest : public QObject {
    Q_OBJECT

private slots:
    void cleanup() { settle(); }

    void startState() {
        ComonLib state;
        // Left over from "before": the load step clears what it owns and
        // leaves the paths, the count and the peaks alone.
        state.markers.Marker1Points[3] = {7, 1};
        state.markers.Marker2Count = 4;
        state.markers.CurrentMarker = 1;
        state.input.InputFileKind = 4;
        state.input.InputDataType = 2;
        state.input.SelFileType = 3;
        state.input.DataSize = 77;
        state.input.IQFilePath = "/kept.bin";
        state.sequence.SeqModeInternal = 1;
        state.sequence.SeqModeLink = 2;
        ScriptedDialogs dialogs;
        FrmHalvikWaveMain window(state, dialogs);
        window.show();

        QCOMPARE(window.windowTitle(), QStringLiteral("Orvenda Version 1.4"));
        QCOMPARE(state.markers.Marker1Points[3].Pos, 0);
        QCOMPARE(state.markers.Marker1Points[3].Value, 0);
        QCOMPARE(state.markers.Marker2Count, 0);
        QCOMPARE(state.markers.CurrentMarker, 0);
        QCOMPARE(state.input.InputFileKind, 0);
        QCOMPARE(state.input.InputDataType, 0);
        QCOMPARE(state.input.SelFileType, 0);
        QCOMPARE(state.sequence.SeqModeInternal, 0);
        QCOMPARE(state.sequence.SeqModeLink, 0);
        QCOMPARE(state.input.DataSize, 77);
        QCOMPARE(state.input.IQFilePath, std::string("/kept.bin"));

        auto* filter = window.findChild<QComboBox*>(QStringLiteral("CmbFilt"));
        QVERIFY(filter);
        QCOMPARE(filter->count(), 3);
        QCOMPARE(filter->itemText(0), QStringLiteral("Filt 2.5M"));
        QCOMPARE(filter->itemText(1), QStringLiteral("Filt 50M"));
        QCOMPARE(filter->itemText(2), QStringLiteral("Filt Through"));
        QCOMPARE(filter->currentIndex(), 0);
        QVERIFY(!filter->isEnabled());

        // The main window is the only window at start.
        QCOMPARE(visibleTopLevels("orvenda::markers::FrmMarker"), 0);
        QCOMPARE(visibleTopLevels("orvenda::FrmAbout"), 0);
        QVERIFY(window.findChild<QPushButton*>(QStringLiteral("BtnTransform"))->isEnabled());
        QCOMPARE(window.findChild<QPushButton*>(QStringLiteral("BtnTransform"))->text(),
                 QStringLiteral("BaseBand Transform"));
        QCOMPARE(window.findChild<QPushButton*>(QStringLiteral("BtnTransIF"))->text(), QStringLiteral("IF Transform"));
    }

    void menuBar() {
        WindowUnderTest ui;
        QStringList menus;
        for (const QAction* action : ui.window->menuBar()->actions()) menus << action->text().remove(QLatin1Char('&'));
        QCOMPARE(menus, (QStringList{"File", "Marker", "Tools", "Help"}));
        QCOMPARE(visibleCaptions(ui.find<QMenu>("MnuFile")),
                 (QStringList{"Load IQ Data", "Load I Data", "Load Q Data", "Load Binary(short IQ)",
                              "Load Binary(float IQ)", "-", "Load Marker1", "Load Marker2", "-", "Exit"}));
        QCOMPARE(visibleCaptions(ui.find<QMenu>("MnuMarker")), QStringList{"Edit Marker"});
        QCOMPARE(visibleCaptions(ui.find<QMenu>("MnuHelp")), QStringList{"About"});
        const QStringList tools = visibleCaptions(ui.find<QMenu>("MnuTools"));
        QVERIFY(tools.contains(QStringLiteral("Waveform View")));
        QVERIFY(tools.contains(QStringLiteral("Open Waveform File...")));
    }

    void menuItemNames_data() {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<QString>("caption");
        const std::pair<const char*, const char*> items[] = {{"MnuLoadIQ", "Load IQ Data"},
                                                             {"MnuLoadI", "Load I Data"},
                                                             {"MnuLoadQ", "Load Q Data"},
                                                             {"MnuLoadBs", "Load Binary(short IQ)"},
                                                             {"MnuLoadBf", "Load Binary(float IQ)"},
                                                             {"MnuLoadMark1", "Load Marker1"},
                                                             {"MnuLoadMark2", "Load Marker2"},
                                                             {"nmuExit", "Exit"},
                                                             {"MnuSetupMark", "Edit Marker"},
                                                             {"MnuAbout", "About"},
                                                             {"MnuSaveAWGData", "Save AWG IQ Data"},
                                                             {"MnuSaveAWGIData", "Save AWG I Data"},
                                                             {"MnuSaveAWGQData", "Save AWQ Q Data"},
                                                             {"MnuWaveformView", "Waveform View"},
                                                             {"MnuOpenWaveform", "Open Waveform File..."}};
        for (const auto& [name, caption] : items)
            QTest::newRow(name) << QByteArray(name) << QString::fromLatin1(caption);
    }
    void menuItemNames() {
        QFETCH(QByteArray, name);
        QFETCH(QString, caption);
        WindowUnderTest ui;
        QAction* action = ui.action(name.constData());
        QVERIFY(action);
        QCOMPARE(action->text(), caption);
    }

    // Whatever the user does, the three save items stay hidden and do nothing.
    void hiddenSaveItemsNeverShow() {
        WindowUnderTest ui;
        const char* hidden[] = {"MnuSaveAWGData", "MnuSaveAWGIData", "MnuSaveAWGQData"};
        ui.action("MnuAbout")->trigger();
        ui.action("MnuSetupMark")->trigger();
        ui.action("MnuLoadIQ")->trigger();  // the scripted dialog cancels
        ui.action("MnuLoadMark1")->trigger();
        for (const char* name : hidden) {
            QAction* action = ui.action(name);
            QVERIFY(action);
            QVERIFY(!action->isVisible());
            QVERIFY(!action->isEnabled());
            const size_t requests = ui.dialogs.fileRequests.size();
            action->trigger();
            QCOMPARE(ui.dialogs.fileRequests.size(), requests);
            QVERIFY(ui.dialogs.messages.empty());
        }
    }

    void editMarkerGivesOneEditor() {
        WindowUnderTest ui;
        QVERIFY(!ui.window->markerEditor());
        ui.action("MnuSetupMark")->trigger();
        markers::FrmMarker* first = ui.window->markerEditor();
        QVERIFY(first);
        ui.action("MnuSetupMark")->trigger();
        ui.click("Command1");
        QCOMPARE(ui.window->markerEditor(), first);
        QCOMPARE(visibleTopLevels("orvenda::markers::FrmMarker"), 1);
        QVERIFY(first->isVisible());
        QCOMPARE(first->windowModality(), Qt::NonModal);
        // The main window stays usable meanwhile.
        QVERIFY(ui.window->isEnabled());
        QVERIFY(QApplication::activeModalWidget() == nullptr);
    }

    void closingTheMainWindowClosesTheEditor() {
        WindowUnderTest ui;
        ui.click("Command1");
        QPointer<markers::FrmMarker> editor = ui.window->markerEditor();
        QVERIFY(editor && editor->isVisible());
        QVERIFY(ui.window->close());
        settle();
        QVERIFY(!editor || !editor->isVisible());
        QCOMPARE(visibleTopLevels("orvenda::markers::FrmMarker"), 0);
    }

    void closingWithoutAnEditorJustCloses() {
        WindowUnderTest ui;
        QVERIFY(ui.window->close());
        QVERIFY(!ui.window->isVisible());
        QVERIFY(!ui.window->markerEditor());
    }

    void aboutOpensOnce() {
        WindowUnderTest ui;
        ui.action("MnuAbout")->trigger();
        FrmAbout* about = ui.window->aboutWindow();
        QVERIFY(about);
        ui.action("MnuAbout")->trigger();
        QCOMPARE(ui.window->aboutWindow(), about);
        QCOMPARE(visibleTopLevels("orvenda::FrmAbout"), 1);
        QVERIFY(!about->isModal());
        QVERIFY(QApplication::activeModalWidget() == nullptr);
        QVERIFY(ui.window->isEnabled());
    }

    void aboutWindowContent() {
        WindowUnderTest ui;
        ui.action("MnuAbout")->trigger();
        QPointer<FrmAbout> about = ui.window->aboutWindow();
        QVERIFY(about);
        QCOMPARE(about->objectName(), QStringLiteral("frmAbout"));
        QCOMPARE(about->windowTitle(), QStringLiteral("Orvenda"));
        QCOMPARE(about->findChild<QLabel*>(QStringLiteral("Label1"))->text(),
                 QStringLiteral("Orvenda for KX2900 OPT10(SG)"));
        QCOMPARE(about->findChild<QLabel*>(QStringLiteral("Label2"))->text(), QStringLiteral("Version 1.4"));
        const QLabel* image = about->findChild<QLabel*>(QStringLiteral("Image1"));
        QVERIFY(image);
        QCOMPARE(image->pixmap().size(), QSize(250, 50));
        QCOMPARE(image->size(), QSize(250, 50));
        // Drawn, not blank: more than a handful of colours.
        const QImage pixels = image->pixmap().toImage();
        QSet<QRgb> colours;
        for (int y = 0; y < pixels.height(); y += 5)
            for (int x = 0; x < pixels.width(); x += 5) colours.insert(pixels.pixel(x, y));
        QVERIFY(colours.size() > 10);

        auto* ok = about->findChild<QPushButton*>(QStringLiteral("cmdOK"));
        QCOMPARE(ok->text(), QStringLiteral("OK"));
        QTest::mouseClick(ok, Qt::LeftButton);
        settle();
        QVERIFY(!about);
        QVERIFY(!ui.window->aboutWindow());
        // Opening it again after "OK" gives a fresh window.
        ui.action("MnuAbout")->trigger();
        QVERIFY(ui.window->aboutWindow());
        QVERIFY(ui.window->aboutWindow()->isVisible());
    }

    // "Exit" ends the event loop at once; no window runs its closing step,
    // so the editor is still open when the loop has ended.
    void exitEndsTheProgramAtOnce() {
        WindowUnderTest ui;
        ui.action("MnuSetupMark")->trigger();
        ui.action("MnuAbout")->trigger();
        QTimer::singleShot(0, [&] { ui.action("nmuExit")->trigger(); });
        QCOMPARE(QApplication::exec(), 0);
        QVERIFY(ui.window->isVisible());
        QVERIFY(ui.window->markerEditor() && ui.window->markerEditor()->isVisible());
        QVERIFY(ui.window->aboutWindow() && ui.window->aboutWindow()->isVisible());
    }
};

}  // namespace orvenda::testing

QTEST_MAIN(orvenda::testing::MainWindowMenusTest)
#include "main_window_menus_test.moc"
