// "Load Marker1" / "Load Marker2" on the marker files panel, with a recording
// settings link: the store, the file name boxes, the messages and when the
// marker output is switched on.
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QtTest>

#include "marker_files_gui_support.h"
#include "markers/graph_lib.h"
#include "markers/marker_files_panel.h"
#include "support/scripted_dialogs.h"

namespace orvenda::markers {

using testsupport::pairsText;
using testsupport::RecordingLink;
using testsupport::sameStore;
using testsupport::TempFolder;

class TestMarkerFilesPanel : public QObject {
    Q_OBJECT

    struct Fixture {
        MarkerStore store;
        testing::ScriptedDialogs dialogs;
        RecordingLink link;
        MarkerFilesPanel panel{store, dialogs, link};
        QLineEdit* name(int marker) {
            return panel.findChild<QLineEdit*>(QStringLiteral("TxtMakerFile%1").arg(marker));
        }
    };

    static void load(Fixture& f, int marker, const QString& path) {
        f.dialogs.fileAnswers.push_back(path);
        f.panel.loadMarker(marker);
        QVERIFY2(QApplication::overrideCursor() == nullptr, "the busy pointer is restored");
    }

private slots:
    void loadsTheFile_data() {
        QTest::addColumn<int>("marker");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("lastPos");
        QTest::addColumn<int>("length");
        QTest::addColumn<bool>("dropped");

        QTest::newRow("two lines as marker 1") << 1 << QByteArray("0\t1\r\n100\t0\r\n") << 2 << 100 << 101 << false;
        QTest::newRow("one comma line as marker 2") << 2 << QByteArray("0,1,100,0") << 2 << 100 << 101 << false;
        QTest::newRow("last point before a larger one")
            << 1 << QByteArray("0 1\r\n500 0\r\n40 1\r\n") << 3 << 40 << 41 << false;
        QTest::newRow("1001 pairs") << 1 << QByteArray::fromStdString(pairsText(1001)) << 1001 << 2000 << 2001
                                    << false;
        QTest::newRow("1002 pairs") << 2 << QByteArray::fromStdString(pairsText(1002)) << 1001 << 2000 << 2001
                                    << true;
        QTest::newRow("empty file keeps the length") << 1 << QByteArray() << 0 << 0 << 77 << false;
    }

    void loadsTheFile() {
        QFETCH(int, marker);
        QFETCH(QByteArray, bytes);
        QFETCH(int, count);
        QFETCH(int, lastPos);
        QFETCH(int, length);
        QFETCH(bool, dropped);

        TempFolder folder;
        const std::string path = folder.write("points.dat", bytes.toStdString());
        Fixture f;
        const MarkerPoint sentinel{-3, 3};
        for (int i = 0; i < kMarkerPointCapacity; ++i)
            f.store.Marker1Points[i] = f.store.Marker2Points[i] = sentinel;
        f.store.Marker1Length = f.store.Marker2Length = f.store.MarkerLength = 77;
        load(f, marker, QString::fromStdString(path));

        const MarkerPoints& list = marker == 1 ? f.store.Marker1Points : f.store.Marker2Points;
        const MarkerPoints& other = marker == 1 ? f.store.Marker2Points : f.store.Marker1Points;
        QCOMPARE(marker == 1 ? f.store.Marker1Count : f.store.Marker2Count, count);
        QCOMPARE(marker == 1 ? f.store.Marker1Length : f.store.Marker2Length, length);
        QCOMPARE(f.store.MarkerLength, std::max(length, 77));
        if (count > 0) {
            QCOMPARE(list[0].Pos, 0);
            QCOMPARE(list[static_cast<std::size_t>(count) - 1].Pos, lastPos);
        }
        for (int i = count; i < 1000; ++i)
            QVERIFY2(list[i] == (MarkerPoint{0, 0}), qPrintable(QStringLiteral("entry %1 cleared").arg(i)));
        QVERIFY(count == 1001 ? list[1000] == (MarkerPoint{2000, 0}) : list[1000] == sentinel);
        QVERIFY2(other[0] == sentinel && other[1000] == sentinel, "the other marker is untouched");

        QCOMPARE(f.name(marker)->text(), QStringLiteral("points.dat"));
        QVERIFY(f.name(3 - marker)->text().isEmpty());
        // The marker output is switched on only when the file held a point.
        const std::vector<RecordingLink::Switch> expectedSwitches =
            count > 0 ? std::vector<RecordingLink::Switch>{{marker, true}} : std::vector<RecordingLink::Switch>{};
        QVERIFY(f.link.switches == expectedSwitches);

        QCOMPARE(f.dialogs.fileRequests.size(), std::size_t{1});
        QCOMPARE(f.dialogs.fileRequests[0].title, QStringLiteral("Data Load dcomplex"));
        QCOMPARE(f.dialogs.fileRequests[0].filter,
                 QStringLiteral("data files(*.dat)|*.dat|text files(*.txt)|*.txt|all files(*.*)|*.*"));
        QVERIFY(!f.dialogs.fileRequests[0].save);
        if (dropped) {
            QCOMPARE(f.dialogs.messages.size(), std::size_t{1});
            QCOMPARE(f.dialogs.messages[0].text, QStringLiteral("work size over"));
            QCOMPARE(f.dialogs.messages[0].caption, QString::fromLatin1(kProgramName));
        } else {
            QVERIFY(f.dialogs.messages.empty());
        }
    }

    void rejectedFileChangesNothing_data() {
        QTest::addColumn<int>("marker");
        QTest::addColumn<QByteArray>("bytes");  // empty: the file does not exist
        QTest::addColumn<QString>("item");      // what the message must name

        for (int marker : {1, 2}) {
            const auto row = [marker](const char* name) {
                return &QTest::addRow("%s, marker %d", name, marker);
            };
            *row("word as level") << marker << QByteArray("0\tabc\r\n") << QStringLiteral("\"abc\"");
            *row("position without value") << marker << QByteArray("0\t1\r\n100\r\n") << QStringLiteral("item 3");
            *row("value beyond int32") << marker << QByteArray("0\t4294967296\r\n")
                                       << QStringLiteral("\"4294967296\"");
            *row("two commas") << marker << QByteArray("0,,1") << QStringLiteral("item 2");
            *row("missing file") << marker << QByteArray() << QStringLiteral("cannot be opened");
        }
    }

    void rejectedFileChangesNothing() {
        QFETCH(int, marker);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, item);

        TempFolder folder;
        Fixture f;
        load(f, 1, QString::fromStdString(folder.write("good1.dat", "0\t1\r\n100\t0\r\n")));
        load(f, 2, QString::fromStdString(folder.write("good2.dat", "0\t0\r\n2000\t1\r\n")));
        const MarkerStore before = f.store;
        const auto switchesBefore = f.link.switches.size();

        const std::string path =
            bytes.isEmpty() ? folder.path("missing.dat") : folder.write("bad.dat", bytes.toStdString());
        load(f, marker, QString::fromStdString(path));

        QVERIFY(sameStore(f.store, before));
        QCOMPARE(f.link.switches.size(), switchesBefore);
        QCOMPARE(f.name(1)->text(), QStringLiteral("good1.dat"));
        QCOMPARE(f.name(2)->text(), QStringLiteral("good2.dat"));
        QCOMPARE(f.dialogs.messages.size(), std::size_t{1});
        const QString& text = f.dialogs.messages[0].text;
        QVERIFY2(text.contains(QString::fromStdString(path)), qPrintable(text));
        QVERIFY2(text.contains(item), qPrintable(text));
        QCOMPARE(f.dialogs.messages[0].caption, QString::fromLatin1(kProgramName));
    }

    void cancelledDialogChangesNothing() {
        Fixture f;
        f.store.Marker1Points[0] = MarkerPoint{4, 1};
        f.store.Marker1Count = 1;
        const MarkerStore before = f.store;
        load(f, 1, QString());
        QVERIFY(sameStore(f.store, before));
        QVERIFY(f.link.switches.empty());
        QVERIFY(f.dialogs.messages.empty());
        QVERIFY(f.name(1)->text().isEmpty());
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
        QCOMPARE(f.name(2)->text(), QStringLiteral("b.dat"));

        f.dialogs.fileAnswers.push_back(QString::fromStdString(folder.write("a.dat", "8 1 10 0")));
        load1->click();
        QCOMPARE(f.store.Marker1Count, 2);
        QCOMPARE(f.store.MarkerLength, 11);

        QSignalSpy editRequests(&f.panel, &MarkerFilesPanel::editMarkerRequested);
        edit->click();
        QCOMPARE(editRequests.count(), 1);
    }

    void fileNamesCanBeSetAndCleared() {
        Fixture f;
        f.panel.setMarkerFileName(2, QStringLiteral("x.dat"));
        QCOMPARE(f.name(2)->text(), QStringLiteral("x.dat"));
        f.panel.setMarkerFileName(2, QString());
        QVERIFY(f.name(2)->text().isEmpty());
        f.panel.setMarkerFileName(3, QStringLiteral("ignored"));  // no such marker: nothing happens
        QVERIFY(f.name(1)->text().isEmpty());
    }
};

}  // namespace orvenda::markers

QTEST_MAIN(orvenda::markers::TestMarkerFilesPanel)
#include "test_marker_files_panel.moc"
