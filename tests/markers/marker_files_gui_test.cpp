// Marker files in the real main window: "Load Marker1" / "Load Marker2" from
// the menu and the buttons, their effect on the marker store and the marker
// settings, and the pointer while the marker file dialogs ask the user.
#include <QAbstractButton>
#include <QAction>
#include <QLineEdit>
#include <QtTest>

#include "core/markers/graph_lib.h"
#include "core/state/comon_lib.h"
#include "gui/main_window/frm_halvik_wave_main.h"
#include "gui/markers/marker_file_dialogs.h"
#include "tests/markers/marker_files_gui_support.h"
#include "tests/support/scripted_dialogs.h"

namespace orvenda::markers {

using testsupport::PointerProbeDialogs;
using testsupport::sameStore;
using testsupport::TempFolder;

namespace {

const QString kFilter = QStringLiteral("data files(*.dat)|*.dat|text files(*.txt)|*.txt|all files(*.*)|*.*");

// Checked and enabled, for each marker control of the settings panel.
struct MarkerControls {
    struct State {
        bool checked;
        bool enabled;
        bool operator==(const State&) const = default;
    };
    State markerMode, autoEdit, manualEdit, mark1, mark2;
    bool operator==(const MarkerControls&) const = default;
};

}  // namespace

class TestMarkerFilesGui : public QObject {
    Q_OBJECT

    struct Window {
        ComonLib state;
        testing::ScriptedDialogs dialogs;
        FrmHalvikWaveMain window{state, dialogs};

        void trigger(const char* actionName, const std::string& path) {
            dialogs.fileAnswers.push_back(QString::fromStdString(path));
            auto* action = window.findChild<QAction*>(QString::fromLatin1(actionName));
            QVERIFY2(action, actionName);
            action->trigger();
            QVERIFY2(QApplication::overrideCursor() == nullptr, "the busy pointer is restored");
        }
        void click(const char* buttonName, const std::string& path) {
            dialogs.fileAnswers.push_back(QString::fromStdString(path));
            auto* button = window.findChild<QAbstractButton*>(QString::fromLatin1(buttonName));
            QVERIFY2(button, buttonName);
            button->click();
        }
        QString fileName(int marker) const {
            auto* box = window.findChild<QLineEdit*>(QStringLiteral("TxtMakerFile%1").arg(marker));
            return box ? box->text() : QStringLiteral("<no TxtMakerFile%1>").arg(marker);
        }
        MarkerControls::State stateOf(const char* name) const {
            auto* control = window.findChild<QAbstractButton*>(QString::fromLatin1(name));
            if (!control) qFatal("the settings panel has no control %s", name);
            return {control->isChecked(), control->isEnabled()};
        }
        MarkerControls controls() const {
            return {stateOf("ChkMarkerMode"), stateOf("OptMark_0"), stateOf("OptMark_1"), stateOf("ChkMark1"),
                    stateOf("ChkMark2")};
        }
    };

private slots:
    void twoLineFileAsMarker1SwitchesTheMarkerOutputOn() {
        TempFolder folder;
        Window w;
        w.trigger("MnuLoadMark1", folder.write("two.dat", "0\t1\r\n100\t0\r\n"));

        const MarkerStore& s = w.state.markers;
        QVERIFY(s.Marker1Points[0] == (MarkerPoint{0, 1}));
        QVERIFY(s.Marker1Points[1] == (MarkerPoint{100, 0}));
        for (int i = 2; i < 1000; ++i) QVERIFY(s.Marker1Points[i] == (MarkerPoint{0, 0}));
        QCOMPARE(s.Marker1Count, 2);
        QCOMPARE(s.Marker1Length, 101);
        QCOMPARE(s.MarkerLength, 101);
        QCOMPARE(s.Marker2Count, 0);
        QCOMPARE(w.fileName(1), QStringLiteral("two.dat"));
        QCOMPARE(w.fileName(2), QString());
        QVERIFY(w.dialogs.messages.empty());
        QCOMPARE(w.dialogs.fileRequests.at(0).title, QStringLiteral("Data Load dcomplex"));
        QCOMPARE(w.dialogs.fileRequests.at(0).filter, kFilter);

        // Marker output on, "Manual Edit" selected, both ON boxes usable, marker 1's checked.
        const MarkerControls expected{{true, true}, {false, true}, {true, true}, {true, true}, {false, true}};
        QVERIFY(w.controls() == expected);
    }

    void marker2AfterMarker1TakesTheLongerLength() {
        TempFolder folder;
        Window w;
        w.click("CmdLoadMarker1", folder.write("one.dat", "0\t1\r\n100\t0\r\n"));
        w.click("CmdLoadMarker2", folder.write("two.txt", "0,0,2000,1"));
        QCOMPARE(w.state.markers.Marker1Length, 101);
        QCOMPARE(w.state.markers.Marker2Length, 2001);
        QCOMPARE(w.state.markers.MarkerLength, 2001);
        QCOMPARE(w.fileName(1), QStringLiteral("one.dat"));
        QCOMPARE(w.fileName(2), QStringLiteral("two.txt"));
        const MarkerControls expected{{true, true}, {false, true}, {true, true}, {true, true}, {true, true}};
        QVERIFY(w.controls() == expected);
    }

    void emptyFileClearsTheListButLeavesTheSettings() {
        TempFolder folder;
        Window w;
        const MarkerControls initial = w.controls();
        w.state.markers.Marker1Points[3] = MarkerPoint{6, 1};
        w.state.markers.Marker1Count = 4;
        w.state.markers.Marker1Length = 7;
        w.trigger("MnuLoadMark1", folder.write("empty.dat", ""));
        QCOMPARE(w.state.markers.Marker1Count, 0);
        QVERIFY(w.state.markers.Marker1Points[3] == (MarkerPoint{0, 0}));
        QCOMPARE(w.state.markers.Marker1Length, 7);
        QCOMPARE(w.fileName(1), QStringLiteral("empty.dat"));
        QVERIFY(w.controls() == initial);
        QVERIFY(w.dialogs.messages.empty());
    }

    void longFileSaysWorkSizeOverAndKeeps1001Points() {
        TempFolder folder;
        Window w;
        w.trigger("MnuLoadMark2", folder.write("full.dat", testsupport::pairsText(HALVIK_MARKER_LIST_ENTRIES)));
        QVERIFY(w.dialogs.messages.empty());
        QCOMPARE(w.state.markers.Marker2Count, int(HALVIK_MARKER_LIST_ENTRIES));
        QVERIFY(w.state.markers.Marker2Points[1000] == (MarkerPoint{2000, 0}));

        w.trigger("MnuLoadMark1", folder.write("1002.dat", testsupport::pairsText(1002)));
        QCOMPARE(w.dialogs.messages.size(), std::size_t{1});
        QCOMPARE(w.dialogs.messages[0].text, QStringLiteral("work size over"));
        QCOMPARE(w.dialogs.messages[0].caption, QString::fromLatin1(kProgramName));
        QCOMPARE(w.state.markers.Marker1Count, int(HALVIK_MARKER_LIST_ENTRIES));
        QVERIFY(w.state.markers.Marker1Points[1000] == (MarkerPoint{2000, 0}));
        QCOMPARE(w.state.markers.Marker1Length, 2001);
        QCOMPARE(w.fileName(1), QStringLiteral("1002.dat"));
    }

    void rejectedFileLeavesTheWindowAsItWas_data() {
        QTest::addColumn<QByteArray>("bytes");  // empty: the file does not exist
        QTest::addColumn<bool>("afterAGoodLoad");
        for (bool after : {false, true}) {
            const char* when = after ? "after a load" : "at start";
            QTest::addRow("word, %s", when) << QByteArray("0\t1\r\n100\tabc\r\n") << after;
            QTest::addRow("odd count, %s", when) << QByteArray("0\t1\r\n100\r\n") << after;
            QTest::addRow("beyond int32, %s", when) << QByteArray("-3000000000\t1\r\n") << after;
            QTest::addRow("missing file, %s", when) << QByteArray() << after;
        }
    }

    void rejectedFileLeavesTheWindowAsItWas() {
        QFETCH(QByteArray, bytes);
        QFETCH(bool, afterAGoodLoad);
        TempFolder folder;
        Window w;
        if (afterAGoodLoad) w.trigger("MnuLoadMark2", folder.write("good.dat", "0\t1\r\n300\t0\r\n"));
        const MarkerStore store = w.state.markers;
        const MarkerControls controls = w.controls();
        const QString name2 = w.fileName(2);

        const std::string bad = bytes.isEmpty() ? folder.path("bad.dat") : folder.write("bad.dat", bytes.toStdString());
        for (const char* command : {"MnuLoadMark1", "MnuLoadMark2"}) w.trigger(command, bad);

        QVERIFY(sameStore(w.state.markers, store));
        QVERIFY(w.controls() == controls);
        QCOMPARE(w.fileName(1), QString());
        QCOMPARE(w.fileName(2), name2);
        QCOMPARE(w.dialogs.messages.size(), std::size_t{2});
        for (const auto& message : w.dialogs.messages) {
            QVERIFY2(message.text.contains(QLatin1Char('"') + QString::fromStdString(bad) + QLatin1Char('"')),
                     qPrintable(message.text));
            QCOMPARE(message.caption, QString::fromLatin1(kProgramName));
        }
    }

    // A command that shows the busy pointer may call the dialogs: the user
    // answers with the normal pointer, and the command's pointer comes back.
    void userIsAskedWithTheNormalPointer() {
        TempFolder folder;
        PointerProbeDialogs dialogs;
        QApplication::setOverrideCursor(Qt::WaitCursor);
        dialogs.fileAnswers.push_back(QString::fromStdString(folder.path("none/x.dat")));
        QVERIFY(!saveMarkerFileWithDialog(nullptr, dialogs, {{0, 1}}));
        dialogs.fileAnswers.push_back(QString::fromStdString(folder.write("big.dat", testsupport::pairsText(1002))));
        const MarkerFileLoad big = loadMarkerFileWithDialog(nullptr, dialogs, kMarkerFileMaxPoints);
        dialogs.fileAnswers.push_back(QString::fromStdString(folder.write("bad.dat", "x")));
        const MarkerFileLoad bad = loadMarkerFileWithDialog(nullptr, dialogs, kMarkerFileMaxPoints);
        const bool busyAfterwards =
            QApplication::overrideCursor() != nullptr && QApplication::overrideCursor()->shape() == Qt::WaitCursor;
        QApplication::restoreOverrideCursor();

        QVERIFY(busyAfterwards);
        QVERIFY(QApplication::overrideCursor() == nullptr);
        QCOMPARE(dialogs.busyWhileAsked, std::vector<bool>(6, false));  // 3 file dialogs, 3 messages
        QCOMPARE(big.status, MarkerFileLoad::Status::Read);
        QCOMPARE(big.points.size(), std::size_t{HALVIK_MARKER_LIST_ENTRIES});
        QCOMPARE(big.fileName, QStringLiteral("big.dat"));
        QCOMPARE(bad.status, MarkerFileLoad::Status::Rejected);
        QVERIFY(bad.points.empty());
        QCOMPARE(dialogs.messages.at(1), QStringLiteral("work size over"));
    }
};

}  // namespace orvenda::markers

QTEST_MAIN(orvenda::markers::TestMarkerFilesGui)
#include "marker_files_gui_test.moc"
