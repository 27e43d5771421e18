// The marker files panel on its own, with a recording settings link: when it
// asks the main window to switch the marker output on, and its buttons.
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

#include "gui/markers/marker_files_panel.h"
#include "tests/markers/marker_files_gui_support.h"
#include "tests/support/scripted_dialogs.h"

namespace orvenda::markers {

using testsupport::RecordingLink;
using testsupport::TempFolder;

class TestMarkerFilesPanel : public QObject {
    Q_OBJECT

    struct Fixture {
        MarkerStore store;
        testing::ScriptedDialogs dialogs;
        RecordingLink link;
        MarkerFilesPanel panel{store, dialogs, link};
    };

private slots:
    void switchesOnOnlyForAFileWithPoints_data() {
        QTest::addColumn<int>("marker");
        QTest::addColumn<QByteArray>("bytes");  // empty: the dialog is cancelled
        QTest::addColumn<bool>("switched");
        QTest::newRow("points as marker 1") << 1 << QByteArray("0\t1\r\n") << true;
        QTest::newRow("points as marker 2") << 2 << QByteArray("0\t1\r\n") << true;
        QTest::newRow("empty file") << 1 << QByteArray("\r\n") << false;
        QTest::newRow("rejected file") << 2 << QByteArray("0\t1\r\n2") << false;
        QTest::newRow("cancelled") << 1 << QByteArray() << false;
    }

    void switchesOnOnlyForAFileWithPoints() {
        QFETCH(int, marker);
        QFETCH(QByteArray, bytes);
        QFETCH(bool, switched);
        TempFolder folder;
        Fixture f;
        f.dialogs.fileAnswers.push_back(
            bytes.isEmpty() ? QString() : QString::fromStdString(folder.write("m.dat", bytes.toStdString())));
        f.panel.loadMarker(static_cast<MarkerNumber>(marker));
        // The load checks "Marker1 ON" / "Marker2 ON" before the rest.
        const auto expected =
            switched ? std::vector<RecordingLink::Switch>{{marker, true}} : std::vector<RecordingLink::Switch>{};
        QVERIFY(f.link.switches == expected);
        QVERIFY(f.link.onBoxes.empty());
        QVERIFY(QApplication::overrideCursor() == nullptr);
    }

    void buttonsRunTheCommands() {
        TempFolder folder;
        Fixture f;
        auto* load1 = f.panel.findChild<QPushButton*>(QStringLiteral("CmdLoadMarker1"));
        auto* load2 = f.panel.findChild<QPushButton*>(QStringLiteral("CmdLoadMarker2"));
        auto* edit = f.panel.findChild<QPushButton*>(QStringLiteral("Command1"));
        QVERIFY(load1 && load2 && edit);
        QCOMPARE(load1->text(), QStringLiteral("Load Marker 1"));
        QCOMPARE(load2->text(), QStringLiteral("Load Marker 2"));
        QCOMPARE(edit->text(), QStringLiteral("Edit Marker"));

        f.dialogs.fileAnswers.push_back(QString::fromStdString(folder.write("b.dat", "6 1")));
        load2->click();
        QCOMPARE(f.store.Marker2Count, 1);
        QCOMPARE(f.store.Marker1Count, 0);
        QCOMPARE(f.panel.findChild<QLineEdit*>(QStringLiteral("TxtMakerFile2"))->text(), QStringLiteral("b.dat"));

        f.dialogs.fileAnswers.push_back(QString::fromStdString(folder.write("a.dat", "8 1 10 0")));
        load1->click();
        QCOMPARE(f.store.Marker1Count, 2);
        QCOMPARE(f.store.MarkerLength, 11);
        QCOMPARE(f.panel.findChild<QLineEdit*>(QStringLiteral("TxtMakerFile1"))->text(), QStringLiteral("a.dat"));

        QSignalSpy editRequests(&f.panel, &MarkerFilesPanel::editMarkerRequested);
        edit->click();
        QCOMPARE(editRequests.count(), 1);
    }
};

}  // namespace orvenda::markers

QTEST_MAIN(orvenda::markers::TestMarkerFilesPanel)
#include "marker_files_panel_test.moc"
