// "Save Marker List" and "Load Marker List" in the real marker editor, opened
// from the real main window: the file written from the grid, the grid filled
// from a file, and files shared with "Load Marker1".
#include <QAction>
#include <QTableWidget>
#include <QtTest>
#include <fstream>

#include "core/state/comon_lib.h"
#include "gui/main_window/frm_halvik_wave_main.h"
#include "gui/markers/frm_marker.h"
#include "gui/markers/marker_grid.h"
#include "tests/markers/marker_files_gui_support.h"
#include "tests/support/comma_decimal_locale.h"
#include "tests/support/scripted_dialogs.h"

namespace orvenda::markers {

using testsupport::pairsText;
using testsupport::readBytes;
using testsupport::sameStore;
using testsupport::TempFolder;

class TestMarkerListEditor : public QObject {
    Q_OBJECT

    struct Editor {
        ComonLib state;
        testing::ScriptedDialogs dialogs;
        FrmHalvikWaveMain window{state, dialogs};
        FrmMarker* editor = nullptr;
        MarkerGrid* grid = nullptr;

        Editor() {
            window.findChild<QAction*>(QStringLiteral("MnuSetupMark"))->trigger();
            editor = window.markerEditor();
            grid = editor ? editor->findChild<MarkerGrid*>() : nullptr;
            if (!grid) qFatal("the marker editor did not open with its grid");
        }
        void setRows(const std::vector<std::pair<QString, QString>>& rows) const {
            for (std::size_t i = 0; i < rows.size(); ++i) {
                grid->setCellText(static_cast<int>(i) + 1, 0, rows[i].first);
                grid->setCellText(static_cast<int>(i) + 1, 1, rows[i].second);
            }
        }
        // Runs an editor menu item after queueing the dialog's answer.
        void run(const char* item, const std::string& path) {
            dialogs.fileAnswers.push_back(QString::fromStdString(path));
            editor->findChild<QAction*>(QString::fromLatin1(item))->trigger();
        }
        bool rowEmpty(int row) const { return grid->cellText(row, 0).isEmpty() && grid->cellText(row, 1).isEmpty(); }
        // Rows from `first` to 1000 all empty.
        bool emptyFrom(int first) const {
            for (int row = first; row <= kGridPointRows; ++row)
                if (!rowEmpty(row)) return false;
            return true;
        }
    };

private slots:
    void saveWritesTheRowsUpToTheFirstEmptyOne() {
        TempFolder folder;
        Editor e;
        const MarkerStore store = e.state.markers;
        e.setRows({{"0", "1"}, {"100", "0"}, {"200", "1"}, {"", ""}, {"300", "1"}});
        const std::string path = folder.path("list.dat");
        e.run("MnuSaveMarkList", path);

        QCOMPARE(readBytes(path), std::string("0\t1\r\n100\t0\r\n200\t1\r\n"));
        QCOMPARE(e.dialogs.fileRequests.at(0).title, QStringLiteral("Data Save"));
        QCOMPARE(e.dialogs.fileRequests.at(0).filter,
                 QStringLiteral("data files(*.dat)|*.dat|text files(*.txt)|*.txt|all files(*.*)|*.*"));
        QVERIFY(e.dialogs.fileRequests.at(0).save);
        QCOMPARE(e.grid->currentRow(), 4);
        QCOMPARE(e.grid->currentColumn(), 0);
        QVERIFY(e.dialogs.messages.empty());
        QVERIFY2(sameStore(e.state.markers, store), "saving works on the grid only");
        QVERIFY(QApplication::overrideCursor() == nullptr);
    }

    // A menu takes no focus, so an open cell editor must be ended by the
    // command itself: its text is saved, and a loaded list is not overwritten.
    void saveIncludesTheTextOfAnOpenCellEditor() {
        TempFolder folder;
        Editor e;
        e.setRows({{"0", "1"}});
        e.grid->setCurrentCell(2, 0);
        e.grid->openEditor(U'4');
        QVERIFY(e.grid->isEditing());
        const std::string path = folder.path("open-edit.dat");
        e.run("MnuSaveMarkList", path);

        QVERIFY(!e.grid->isEditing());
        QCOMPARE(e.grid->cellText(2, 0), QStringLiteral("4"));
        QCOMPARE(readBytes(path), std::string("0\t1\r\n4\t0\r\n"));
    }

    void loadIsNotOverwrittenByAnOpenCellEditor() {
        TempFolder folder;
        Editor e;
        const std::string path = folder.path("list.dat");
        {
            std::ofstream out(path, std::ios::binary);
            out << "10\t1\r\n20\t0\r\n";
        }
        e.grid->setCurrentCell(1, 0);
        e.grid->openEditor(U'9');
        e.run("MnuLoadMarkList", path);

        QVERIFY(!e.grid->isEditing());
        QCOMPARE(e.grid->cellText(1, 0), QStringLiteral("10"));
        QCOMPARE(e.grid->cellText(2, 0), QStringLiteral("20"));
        e.grid->table()->setFocus();
        QCoreApplication::processEvents();
        QCOMPARE(e.grid->cellText(1, 0), QStringLiteral("10"));
    }

    void cellTextsAreSavedAsRoundedNumbers_data() {
        QTest::addColumn<QString>("pos");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QByteArray>("line");
        QTest::newRow("leading zeros") << "0010"
                                       << "1" << QByteArray("10\t1\r\n");
        QTest::newRow("half to even up") << "7.5"
                                         << "0" << QByteArray("8\t0\r\n");
        QTest::newRow("half to even down") << "6.5"
                                           << "1" << QByteArray("6\t1\r\n");
        QTest::newRow("word as level") << "4"
                                       << "abc" << QByteArray("4\t0\r\n");
        QTest::newRow("number then word") << "12abc"
                                          << "1x" << QByteArray("12\t1\r\n");
        QTest::newRow("negative kept") << "-3"
                                       << "2" << QByteArray("-3\t2\r\n");
        QTest::newRow("exponent") << "1e3"
                                  << "1" << QByteArray("1000\t1\r\n");
    }

    void cellTextsAreSavedAsRoundedNumbers() {
        QFETCH(QString, pos);
        QFETCH(QString, value);
        QFETCH(QByteArray, line);
        TempFolder folder;
        Editor e;
        e.setRows({{pos, value}});
        e.run("MnuSaveMarkList", folder.path("cell.dat"));
        QCOMPARE(QByteArray::fromStdString(readBytes(folder.path("cell.dat"))), line);
    }

    void savedListLoadsBackIntoTheGrid() {
        TempFolder folder;
        Editor e;
        e.setRows({{"0", "1"}, {"100", "0"}, {"200", "1"}});
        const std::string path = folder.path("trip.txt");
        e.run("MnuSaveMarkList", path);

        std::vector<std::pair<QString, QString>> other;
        for (int i = 0; i < 12; ++i) other.emplace_back(QString::number(i * 10), QStringLiteral("1"));
        e.setRows(other);
        e.grid->setCellText(1000, 0, QStringLiteral("9"));
        const MarkerStore store = e.state.markers;
        e.run("MnuLoadMarkList", path);

        QCOMPARE(e.grid->cellText(1, 0), QStringLiteral("0"));
        QCOMPARE(e.grid->cellText(1, 1), QStringLiteral("1"));
        QCOMPARE(e.grid->cellText(2, 0), QStringLiteral("100"));
        QCOMPARE(e.grid->cellText(2, 1), QStringLiteral("0"));
        QCOMPARE(e.grid->cellText(3, 0), QStringLiteral("200"));
        QCOMPARE(e.grid->cellText(3, 1), QStringLiteral("1"));
        QVERIFY(e.emptyFrom(4));
        QVERIFY2(sameStore(e.state.markers, store), "loading works on the grid only");
        QCOMPARE(e.dialogs.fileRequests.at(1).title, QStringLiteral("Data Load dcomplex"));
        QVERIFY(e.dialogs.messages.empty());
        QVERIFY(QApplication::overrideCursor() == nullptr);
    }

    // Under a comma-decimal locale the cells are read with a point, the file
    // is written as under "C", and it loads back the same; "2,5" in a file
    // stays two items, as anywhere.
    void listRoundTripsUnderACommaLocale() {
        testing::ProcessLocale comma(testing::kCommaDecimalLocale);
        QVERIFY2(comma.active(), "de_DE.UTF-8 is not installed (scripts/install-deps.sh makes it)");
        QVERIFY(testing::ProcessLocale::decimalPointIsComma());
        TempFolder folder;
        Editor e;
        e.setRows({{"0", "1"}, {"7.5", "0"}, {"1.5e3", "1"}, {"2048", "0.6"}});
        const std::string path = folder.path("comma.dat");
        e.run("MnuSaveMarkList", path);
        QCOMPARE(readBytes(path), std::string("0\t1\r\n8\t0\r\n1500\t1\r\n2048\t1\r\n"));

        e.setRows({{"5", "5"}, {"6", "6"}, {"7", "7"}, {"8", "8"}, {"9", "9"}});
        e.run("MnuLoadMarkList", path);
        const std::vector<std::pair<QString, QString>> expected = {
            {"0", "1"}, {"8", "0"}, {"1500", "1"}, {"2048", "1"}};
        for (std::size_t i = 0; i < expected.size(); ++i) {
            QCOMPARE(e.grid->cellText(static_cast<int>(i) + 1, 0), expected[i].first);
            QCOMPARE(e.grid->cellText(static_cast<int>(i) + 1, 1), expected[i].second);
        }
        QVERIFY(e.emptyFrom(5));

        e.run("MnuLoadMarkList", folder.write("decimals.dat", "2.5e1 1\r\n40,5\r\n"));
        QCOMPARE(e.grid->cellText(1, 0), QStringLiteral("25"));
        QCOMPARE(e.grid->cellText(1, 1), QStringLiteral("1"));
        QCOMPARE(e.grid->cellText(2, 0), QStringLiteral("40"));
        QCOMPARE(e.grid->cellText(2, 1), QStringLiteral("5"));
        QVERIFY(e.emptyFrom(3));
        QVERIFY(e.dialogs.messages.empty());
    }

    void emptyGridSavesAnEmptyFileAndAnEmptyFileEmptiesTheGrid() {
        TempFolder folder;
        Editor e;
        const std::string path = folder.write("empty.dat", "5\t1\r\n");
        e.run("MnuSaveMarkList", path);
        QCOMPARE(readBytes(path), std::string());

        e.setRows({{"2", "1"}, {"4", "0"}});
        e.run("MnuLoadMarkList", path);
        QVERIFY(e.emptyFrom(1));
        QVERIFY(e.dialogs.messages.empty());
    }

    void loadedPointsAreShownAsTheyAre() {
        TempFolder folder;
        Editor e;
        e.run("MnuLoadMarkList", folder.write("odd.dat", "3,7,-1,1,0010,2.5"));
        QCOMPARE(e.grid->cellText(1, 0), QStringLiteral("3"));
        QCOMPARE(e.grid->cellText(1, 1), QStringLiteral("7"));
        QCOMPARE(e.grid->cellText(2, 0), QStringLiteral("-1"));
        QCOMPARE(e.grid->cellText(3, 0), QStringLiteral("10"));
        QCOMPARE(e.grid->cellText(3, 1), QStringLiteral("2"));
        QVERIFY(e.emptyFrom(4));
    }

    void longFileFillsTheGridAndSaysWorkSizeOver() {
        TempFolder folder;
        Editor e;
        e.run("MnuLoadMarkList", folder.write("long.dat", pairsText(1002)));
        QCOMPARE(e.dialogs.messages.size(), std::size_t{1});
        QCOMPARE(e.dialogs.messages[0].text, QStringLiteral("work size over"));
        QCOMPARE(e.grid->cellText(1000, 0), QStringLiteral("1998"));
        QCOMPARE(e.grid->cellText(1000, 1), QStringLiteral("1"));
    }

    void rejectedOrCancelledLoadKeepsTheGrid_data() {
        QTest::addColumn<QByteArray>("bytes");  // empty: the dialog is cancelled
        QTest::newRow("word") << QByteArray("0\t1\r\nx\t0\r\n");
        QTest::newRow("odd count") << QByteArray("0\t1\r\n100\r\n");
        QTest::newRow("beyond int32") << QByteArray("0\t99999999999\r\n");
        QTest::newRow("cancelled") << QByteArray();
    }

    void rejectedOrCancelledLoadKeepsTheGrid() {
        QFETCH(QByteArray, bytes);
        TempFolder folder;
        Editor e;
        e.setRows({{"2", "1"}, {"4", "0"}});
        const std::string path = bytes.isEmpty() ? std::string() : folder.write("bad.dat", bytes.toStdString());
        e.run("MnuLoadMarkList", path);
        QCOMPARE(e.grid->cellText(1, 0), QStringLiteral("2"));
        QCOMPARE(e.grid->cellText(2, 1), QStringLiteral("0"));
        QVERIFY(e.emptyFrom(3));
        QCOMPARE(e.dialogs.messages.size(), std::size_t{bytes.isEmpty() ? 0u : 1u});
        if (!bytes.isEmpty()) QVERIFY(e.dialogs.messages[0].text.contains(QString::fromStdString(path)));
        QVERIFY(QApplication::overrideCursor() == nullptr);
    }

    void failedOrCancelledSave_data() {
        QTest::addColumn<QString>("path");  // "@" stands for the scratch folder
        QTest::addColumn<QString>("saying");
        QTest::newRow("missing folder") << QStringLiteral("@/gone/list.dat") << QStringLiteral("No such file");
        QTest::newRow("full disk") << QStringLiteral("/dev/full") << QStringLiteral("No space left");
        QTest::newRow("a folder") << QStringLiteral("@") << QStringLiteral("directory");
        QTest::newRow("cancelled") << QString() << QString();
    }

    void failedOrCancelledSave() {
        QFETCH(QString, path);
        QFETCH(QString, saying);
        TempFolder folder;
        path.replace(QLatin1Char('@'), QString::fromStdString(folder.root().string()));
        Editor e;
        e.setRows({{"2", "1"}});
        e.run("MnuSaveMarkList", path.toStdString());
        QCOMPARE(e.grid->cellText(1, 0), QStringLiteral("2"));
        QVERIFY(QApplication::overrideCursor() == nullptr);
        if (path.isEmpty()) {
            QVERIFY(e.dialogs.messages.empty());
            QVERIFY(std::filesystem::is_empty(folder.root()));
            return;
        }
        QCOMPARE(e.dialogs.messages.size(), std::size_t{1});
        const QString& text = e.dialogs.messages[0].text;
        QVERIFY2(text.contains(QLatin1Char('"') + path + QLatin1Char('"')) && text.contains(saying), qPrintable(text));
        QCOMPARE(e.dialogs.messages[0].caption, QString::fromLatin1(kProgramName));
    }

    void listSavedInTheEditorLoadsAsMarker1() {
        TempFolder folder;
        Editor e;
        e.setRows({{"0", "1"}, {"0010", "0"}, {"7.5", "abc"}, {"300", "1"}});
        const std::string path = folder.path("shared.dat");
        e.run("MnuSaveMarkList", path);
        e.dialogs.fileAnswers.push_back(QString::fromStdString(path));
        e.window.findChild<QAction*>(QStringLiteral("MnuLoadMark1"))->trigger();

        const std::vector<MarkerPoint> expected{{0, 1}, {10, 0}, {8, 0}, {300, 1}};
        QCOMPARE(e.state.markers.Marker1Count, 4);
        for (std::size_t i = 0; i < expected.size(); ++i) QVERIFY(e.state.markers.Marker1Points[i] == expected[i]);
        QCOMPARE(e.state.markers.Marker1Length, 301);
    }
};

}  // namespace orvenda::markers

QTEST_MAIN(orvenda::markers::TestMarkerListEditor)
#include "marker_list_editor_test.moc"
