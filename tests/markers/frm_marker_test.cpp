// The marker editor driven as a user drives it: opened from the main
// window's menu, keys typed into the grid and its in-place editor, buttons
// clicked, and the store, the pictures and the main window checked.
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QtTest>
#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "gui/main_window/frm_halvik_wave_main.h"
#include "gui/markers/frm_marker.h"
#include "gui/markers/marker_grid.h"
#include "gui/markers/marker_picture.h"
#include "gui/markers/marker_settings_link.h"
#include "tests/support/scripted_dialogs.h"

using namespace orvenda;
using namespace orvenda::markers;

namespace {

// Records what the editor asks of the main window.
class RecordingLink final : public MarkerSettingsLink {
public:
    std::vector<QString> calls;
    void switchMarkerOutputOn(MarkerNumber marker, bool checkOnBoxFirst) override {
        calls.push_back(QStringLiteral("on %1 %2").arg(numberOf(marker)).arg(int(checkOnBoxFirst)));
    }
    void setMarkerOn(MarkerNumber marker, bool on) override {
        calls.push_back(QStringLiteral("box %1 %2").arg(numberOf(marker)).arg(int(on)));
    }
    void setMarkerFileName(MarkerNumber marker, const QString& name) override {
        calls.push_back(QStringLiteral("name %1 '%2'").arg(numberOf(marker)).arg(name));
    }
};

}  // namespace

class TestFrmMarker : public QObject {
    Q_OBJECT

private:
    // The editor under test: opened from the main window, or built on its
    // own with a recording link.
    ComonLib state_;
    testing::ScriptedDialogs dialogs_;
    std::unique_ptr<FrmHalvikWaveMain> main_;
    RecordingLink link_;
    std::unique_ptr<FrmMarker> own_;
    FrmMarker* editor_ = nullptr;

    FrmMarker* openFromMenu() {
        main_ = std::make_unique<FrmHalvikWaveMain>(state_, dialogs_);
        main_->show();
        auto* action = main_->findChild<QAction*>(QStringLiteral("MnuSetupMark"));
        if (action == nullptr) return nullptr;
        action->trigger();
        return activate(main_->markerEditor());
    }
    FrmMarker* openWithRecordingLink() {
        own_ = std::make_unique<FrmMarker>(state_.markers, dialogs_, link_);
        own_->show();
        return activate(own_.get());
    }
    static FrmMarker* activate(FrmMarker* editor) {
        if (editor == nullptr) return nullptr;
        editor->activateWindow();
        if (!QTest::qWaitForWindowActive(editor)) qWarning("the editor window did not become active");
        return editor;
    }

    QTableWidget* table() const { return editor_->findChild<QTableWidget*>(QStringLiteral("FGMark")); }
    QLineEdit* cellEditor() const { return editor_->findChild<QLineEdit*>(QStringLiteral("TxtForEdit")); }
    MarkerGrid* grid() const { return editor_->findChild<MarkerGrid*>(); }
    MarkerPicture* picture(int marker) const {
        return editor_->findChild<MarkerPicture*>(marker == 1 ? QStringLiteral("PictMark1")
                                                              : QStringLiteral("PictMark2"));
    }
    void click(const char* button) const {
        auto* b = editor_->findChild<QPushButton*>(QString::fromLatin1(button));
        QVERIFY2(b != nullptr, button);
        QTest::mouseClick(b, Qt::LeftButton);
    }
    template <class W>
    W* mainControl(const char* name) const {
        W* control = main_->findChild<W*>(QString::fromLatin1(name));
        if (control == nullptr) qFatal("the main window has no %s", name);
        return control;
    }
    QLineEdit* fileNameBox(int marker) const {
        return mainControl<QLineEdit>(marker == 1 ? "TxtMakerFile1" : "TxtMakerFile2");
    }
    QString cell(int row, int column) const { return grid()->cellText(row, column); }
    void setCells(const std::vector<std::pair<const char*, const char*>>& rows) const {
        int r = 1;
        for (auto [pos, value] : rows) {
            grid()->setCellText(r, 0, QString::fromLatin1(pos));
            grid()->setCellText(r, 1, QString::fromLatin1(value));
            ++r;
        }
    }
    // Types text into the current cell: its first character opens the
    // in-place editor, the rest goes to the editor.
    void typeIntoCell(int row, int column, const QString& text) const {
        grid()->setCurrentCell(row, column);
        table()->setFocus();
        QTest::keyClicks(table(), text.left(1));
        QVERIFY(cellEditor()->isVisible());
        QTest::keyClicks(cellEditor(), text.mid(1));
    }
    void selectMarker(int index) const {
        auto* select = editor_->findChild<QComboBox*>(QStringLiteral("CurrentMarkerSelect"));
        select->setCurrentIndex(index);
    }

private slots:
    void init() {
        state_ = ComonLib{};
        dialogs_ = testing::ScriptedDialogs{};
        link_.calls.clear();
        editor_ = openFromMenu();
        QVERIFY(editor_ != nullptr);
    }
    void cleanup() {
        own_.reset();
        main_.reset();
        editor_ = nullptr;
    }

    void opensWithItsControls() {
        QCOMPARE(editor_->windowTitle(), QStringLiteral("Marker Editor"));
        QCOMPARE(table()->rowCount() + 1, int(HALVIK_MARKER_LIST_ENTRIES));
        QCOMPARE(cell(0, 0), QStringLiteral("Index"));
        QCOMPARE(cell(0, 1), QStringLiteral("Value"));
        QCOMPARE(grid()->currentRow(), 1);
        QCOMPARE(grid()->currentColumn(), 0);
        QVERIFY(!cellEditor()->isVisible());
        auto* select = editor_->findChild<QComboBox*>(QStringLiteral("CurrentMarkerSelect"));
        QCOMPARE(select->count(), 2);
        QCOMPARE(select->itemText(1), QStringLiteral("Marker 2"));
        QCOMPARE(editor_->findChild<QLineEdit*>(QStringLiteral("TxtMarkPos"))->text(), QStringLiteral("0"));
        QCOMPARE(editor_->findChild<QPushButton*>(QStringLiteral("BtnAddMarkPoint"))->text(),
                 QStringLiteral("Add        Marker Point"));
        auto* saveData = editor_->findChild<QAction*>(QStringLiteral("MnuSaveMark"));
        QVERIFY(saveData != nullptr && !saveData->isVisible() && !saveData->isEnabled());
        for (const char* name : {"MnuSaveMarkList", "MnuLoadMarkList", "MnuCloseMarker"})
            QVERIFY2(editor_->findChild<QAction*>(QString::fromLatin1(name)) != nullptr, name);
        QVERIFY(picture(1)->isBlank() && picture(2)->isBlank());
    }

    void positionEnter_data() {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QString>("stored");
        QTest::newRow("odd lowered") << "7"
                                     << "6";
        QTest::newRow("half up to even") << "7.5"
                                         << "8";
        QTest::newRow("half down to even") << "6.5"
                                           << "6";
        QTest::newRow("negative") << "-3"
                                  << "0";
        QTest::newRow("not a number") << "abc"
                                      << "0";
        QTest::newRow("exponent") << "1e3"
                                  << "1000";
        QTest::newRow("leading zeros") << "0010"
                                       << "10";
    }
    void positionEnter() {
        QFETCH(QString, typed);
        QFETCH(QString, stored);
        typeIntoCell(3, 0, typed);
        QTest::keyClick(cellEditor(), Qt::Key_Return);
        QCOMPARE(cell(3, 0), stored);
        QVERIFY(!cellEditor()->isVisible());
        QCOMPARE(grid()->currentRow(), 4);
        QCOMPARE(grid()->currentColumn(), 0);
    }

    void levelEnterValidatesDownDoesNot() {
        typeIntoCell(1, 1, QStringLiteral("2"));
        QTest::keyClick(cellEditor(), Qt::Key_Return);
        QCOMPARE(cell(1, 1), QStringLiteral("0"));
        QCOMPARE(grid()->currentRow(), 2);
        typeIntoCell(2, 1, QStringLiteral("2"));
        QTest::keyClick(cellEditor(), Qt::Key_Down);
        QCOMPARE(cell(2, 1), QStringLiteral("2"));
        QCOMPARE(grid()->currentRow(), 3);
        typeIntoCell(3, 1, QStringLiteral("1"));
        QTest::keyClick(cellEditor(), Qt::Key_Enter);  // the keypad's Enter
        QCOMPARE(cell(3, 1), QStringLiteral("1"));
    }

    void deleteThenEnterOrUp() {
        setCells({{"40", "1"}, {"60", "0"}});
        grid()->setCurrentCell(1, 0);
        QTest::keyClick(table(), Qt::Key_Delete);
        QVERIFY(cellEditor()->isVisible());
        QCOMPARE(cellEditor()->text(), QString());
        QTest::keyClick(cellEditor(), Qt::Key_Return);
        QCOMPARE(cell(1, 0), QStringLiteral("0"));

        grid()->setCurrentCell(2, 0);
        QTest::keyClick(table(), Qt::Key_Delete);
        QTest::keyClick(cellEditor(), Qt::Key_Up);
        QCOMPARE(cell(2, 0), QString());
        QCOMPARE(grid()->currentRow(), 1);
        // Up on the first row stays there.
        QTest::keyClick(table(), Qt::Key_F2);
        QTest::keyClick(cellEditor(), Qt::Key_Up);
        QCOMPARE(grid()->currentRow(), 1);
    }

    void openingKeysGiveTextAndCaret() {
        setCells({{"120", "1"}});
        grid()->setCurrentCell(1, 0);
        QTest::keyClick(table(), Qt::Key_F2);
        QCOMPARE(cellEditor()->text(), QStringLiteral("120"));
        QCOMPARE(cellEditor()->cursorPosition(), 3);
        QTest::keyClick(cellEditor(), Qt::Key_Escape);

        QTest::keyClick(table(), Qt::Key_Return);
        QCOMPARE(cellEditor()->text(), QStringLiteral("120"));
        QCOMPARE(cellEditor()->cursorPosition(), 3);
        QTest::keyClick(cellEditor(), Qt::Key_Escape);

        QTest::keyClick(table(), Qt::Key_Space);
        QCOMPARE(cellEditor()->text(), QStringLiteral("120"));
        QCOMPARE(cellEditor()->cursorPosition(), 0);
        QTest::keyClicks(cellEditor(), QStringLiteral("4"));
        QTest::keyClick(cellEditor(), Qt::Key_Return);
        QCOMPARE(cell(1, 0), QStringLiteral("4120"));

        grid()->setCurrentCell(1, 0);
        QTest::keyClick(table(), Qt::Key_Backspace);
        QCOMPARE(cellEditor()->text(), QString());
        QTest::keyClick(cellEditor(), Qt::Key_Escape);

        QTest::keyClicks(table(), QStringLiteral("9"));
        QCOMPARE(cellEditor()->text(), QStringLiteral("9"));
        QCOMPARE(cellEditor()->cursorPosition(), 1);
        QTest::keyClick(cellEditor(), Qt::Key_Escape);

        // Keys that type nothing and are not Delete or F2 open nothing.
        for (Qt::Key key : {Qt::Key_Escape, Qt::Key_Tab, Qt::Key_F3, Qt::Key_Home, Qt::Key_Shift}) {
            QTest::keyClick(table(), key);
            QVERIFY2(!cellEditor()->isVisible(), qPrintable(QString::number(key, 16)));
        }
        QTest::keyClick(table(), Qt::Key_C, Qt::ControlModifier);
        QVERIFY(!cellEditor()->isVisible());
    }

    void editorLiesOverTheCell() {
        grid()->setCurrentCell(5, 1);
        QTest::keyClick(table(), Qt::Key_F2);
        const QRect cellRect = table()->visualRect(table()->currentIndex());
        const QPoint cellTopLeft = table()->viewport()->mapTo(editor_, cellRect.topLeft());
        QCOMPARE(cellEditor()->mapTo(editor_, QPoint(0, 0)), cellTopLeft);
        QCOMPARE(cellEditor()->size(), cellRect.size());
        QCOMPARE(grid()->editRow(), 5);
        QCOMPARE(grid()->editColumn(), 1);
    }

    void doubleClickOpensWithCaretAtStart() {
        setCells({{"10", "1"}, {"20", "0"}});
        const QRect cellRect = table()->visualRect(table()->model()->index(1, 0));
        QTest::mouseClick(table()->viewport(), Qt::LeftButton, {}, cellRect.center());
        QTest::mouseDClick(table()->viewport(), Qt::LeftButton, {}, cellRect.center());
        QVERIFY(cellEditor()->isVisible());
        QCOMPARE(grid()->editRow(), 2);
        QCOMPARE(cellEditor()->text(), QStringLiteral("20"));
        QCOMPARE(cellEditor()->cursorPosition(), 0);
    }

    void escapeKeepsTheOldText() {
        setCells({{"30", "1"}});
        typeIntoCell(1, 0, QStringLiteral("77"));
        QTest::keyClick(cellEditor(), Qt::Key_Escape);
        QVERIFY(!cellEditor()->isVisible());
        QCOMPARE(cell(1, 0), QStringLiteral("30"));
        QCOMPARE(grid()->currentRow(), 1);
        QVERIFY(table()->hasFocus());
    }

    void clickElsewhereStoresUnchecked() {
        typeIntoCell(2, 0, QStringLiteral("7.5"));
        const QRect other = table()->visualRect(table()->model()->index(5, 1));
        QTest::mouseClick(table()->viewport(), Qt::LeftButton, {}, other.center());
        QCOMPARE(cell(2, 0), QStringLiteral("7.5"));
        QVERIFY(!cellEditor()->isVisible());
        // A click on a button stores too.
        typeIntoCell(3, 1, QStringLiteral("5"));
        editor_->findChild<QLineEdit*>(QStringLiteral("TxtMarkPos"))->setFocus(Qt::MouseFocusReason);
        QCOMPARE(cell(3, 1), QStringLiteral("5"));
    }

    void scrollStoresUnchecked() {
        typeIntoCell(1, 0, QStringLiteral("13"));
        table()->verticalScrollBar()->setValue(table()->verticalScrollBar()->value() + 10);
        QCOMPARE(cell(1, 0), QStringLiteral("13"));
        QVERIFY(!cellEditor()->isVisible());
    }

    void enterOnTheLastVisibleRowScrollsItIntoView() {
        const int lastVisible = table()->rowAt(table()->viewport()->height() - 1);
        QVERIFY(lastVisible > 0);
        typeIntoCell(lastVisible + 1, 0, QStringLiteral("8"));
        QTest::keyClick(cellEditor(), Qt::Key_Return);
        QCOMPARE(grid()->currentRow(), lastVisible + 2);
        const QRect rect = table()->visualRect(table()->currentIndex());
        QVERIFY(table()->viewport()->rect().contains(rect));
        // And on the last row Enter stays there.
        typeIntoCell(1000, 0, QStringLiteral("8"));
        QTest::keyClick(cellEditor(), Qt::Key_Return);
        QCOMPARE(cell(1000, 0), QStringLiteral("8"));
        QCOMPARE(grid()->currentRow(), 1000);
    }

    void addPoint_data() {
        QTest::addColumn<QString>("pos");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("storedPos");
        QTest::addColumn<QString>("storedValue");
        QTest::newRow("leading zeros") << "0010"
                                       << "1"
                                       << "10"
                                       << "1";
        QTest::newRow("negative") << "-4"
                                  << "1"
                                  << "0"
                                  << "1";
        QTest::newRow("odd fraction") << "8.5"
                                      << "0"
                                      << "8"
                                      << "0";
        QTest::newRow("text and level 2") << "x"
                                          << "2"
                                          << "0"
                                          << "0";
    }
    void addPoint() {
        QFETCH(QString, pos);
        QFETCH(QString, value);
        QFETCH(QString, storedPos);
        QFETCH(QString, storedValue);
        editor_->findChild<QLineEdit*>(QStringLiteral("TxtMarkPos"))->setText(pos);
        editor_->findChild<QLineEdit*>(QStringLiteral("TxtMarkValue"))->setText(value);
        click("BtnAddMarkPoint");
        QCOMPARE(cell(1, 0), storedPos);
        QCOMPARE(cell(1, 1), storedValue);
        QCOMPARE(grid()->currentRow(), 2);
    }

    void addPointOnTheLastRowStays() {
        grid()->setCurrentCell(1000, 1);
        click("BtnAddMarkPoint");
        QCOMPARE(cell(1000, 0), QStringLiteral("0"));
        QCOMPARE(grid()->currentRow(), 1000);
        QCOMPARE(grid()->currentColumn(), 1);
    }

    void switchingMarkersDropsUnsetRows() {
        setCells({{"0", "1"}, {"50", "0"}});
        click("BtnSetMark");
        typeIntoCell(3, 0, QStringLiteral("90"));
        QTest::keyClick(cellEditor(), Qt::Key_Return);
        selectMarker(1);
        QCOMPARE(state_.markers.CurrentMarker, 1);
        QCOMPARE(cell(1, 0), QString());
        setCells({{"4", "1"}});
        selectMarker(0);
        QCOMPARE(state_.markers.CurrentMarker, 0);
        QCOMPARE(cell(1, 0), QStringLiteral("0"));
        QCOMPARE(cell(2, 0), QStringLiteral("50"));
        QCOMPARE(cell(3, 0), QString());
        QCOMPARE(state_.markers.Marker2Count, 0);
        QCOMPARE(grid()->currentRow(), 1);
    }

    void deletingAMiddleRowEndsTheList() {
        setCells({{"0", "1"}, {"10", "0"}, {"20", "1"}, {"30", "0"}, {"40", "1"}});
        grid()->setCurrentCell(3, 1);
        click("BtnDelMarkPoint");
        QCOMPARE(cell(3, 0), QString());
        QCOMPARE(cell(3, 1), QString());
        QCOMPARE(cell(4, 0), QStringLiteral("30"));
        click("BtnSetMark");
        QCOMPARE(state_.markers.Marker1Count, 2);
        QCOMPARE(state_.markers.Marker1Length, 11);
    }

    void setMarkerStoresDrawsAndSwitchesOn() {
        editor_ = openWithRecordingLink();
        setCells({{"0", "1"}, {"100", "0"}, {"200", "1"}});
        grid()->setCurrentCell(2, 1);
        click("BtnSetMark");
        const MarkerStore& m = state_.markers;
        QCOMPARE(m.Marker1Count, 3);
        QCOMPARE(m.Marker1Points[1].Pos, 100);
        QCOMPARE(m.Marker1Points[2].Value, 1);
        QCOMPARE(m.Marker1Points[3].Pos, 0);
        QCOMPARE(m.Marker1Length, 201);
        QCOMPARE(m.MarkerLength, 201);
        QCOMPARE(link_.calls, (std::vector<QString>{"on 1 0", "name 1 ''"}));
        QCOMPARE(grid()->currentRow(), 2);
        QCOMPARE(grid()->currentColumn(), 1);
        QVERIFY(QApplication::overrideCursor() == nullptr);

        // High from 0, low from 100, high from 200 to the right edge.
        const std::vector<TracePoint> trace = picture(1)->tracePoints();
        QVERIFY(trace.size() == 5);
        const QRect area = picture(1)->contentsRect();
        const int high = trace[0].y;
        const int low = trace[2].y;
        QVERIFY(low > high);
        QCOMPARE(trace[0].x, area.left());
        QCOMPARE(trace[4].y, high);
        QVERIFY(std::abs(trace[2].x - (area.left() + area.width() * 100 / 201)) <= 1);
        QVERIFY(picture(2)->isBlank());
    }

    void setMarkerReachesTheMainWindow() {
        fileNameBox(1)->setText(QStringLiteral("old.dat"));
        setCells({{"0", "1"}, {"100", "0"}, {"200", "1"}});
        click("BtnSetMark");
        QCOMPARE(state_.markers.Marker1Count, 3);
        QVERIFY(!picture(1)->isBlank());
        QVERIFY(mainControl<QCheckBox>("ChkMarkerMode")->isChecked());
        auto* autoEdit = mainControl<QAbstractButton>("OptMark_0");
        auto* manualEdit = mainControl<QAbstractButton>("OptMark_1");
        QVERIFY(autoEdit->isEnabled() && !autoEdit->isChecked());
        QVERIFY(manualEdit->isEnabled() && manualEdit->isChecked());
        QVERIFY(mainControl<QCheckBox>("ChkMark1")->isEnabled());
        QVERIFY(mainControl<QCheckBox>("ChkMark1")->isChecked());
        QVERIFY(mainControl<QCheckBox>("ChkMark2")->isEnabled());
        QVERIFY(!mainControl<QCheckBox>("ChkMark2")->isChecked());
        QCOMPARE(fileNameBox(1)->text(), QString());
    }

    void singleRowOnTheMainWindow() {
        fileNameBox(1)->setText(QStringLiteral("old.dat"));
        setCells({{"0", "1"}});
        click("BtnSetMark");
        QVERIFY(!mainControl<QCheckBox>("ChkMarkerMode")->isChecked());
        QVERIFY(!mainControl<QCheckBox>("ChkMark1")->isChecked());
        QVERIFY(!mainControl<QCheckBox>("ChkMark1")->isEnabled());
        QCOMPARE(fileNameBox(1)->text(), QString());
    }

    void clearMarkerTwoOnTheMainWindow() {
        selectMarker(1);
        fileNameBox(2)->setText(QStringLiteral("two.dat"));
        setCells({{"0", "1"}, {"300", "0"}});
        click("BtnSetMark");
        QVERIFY(mainControl<QCheckBox>("ChkMark2")->isChecked());
        QCOMPARE(fileNameBox(2)->text(), QString());
        fileNameBox(2)->setText(QStringLiteral("kept.dat"));
        click("BtnClrMark");
        QVERIFY(!mainControl<QCheckBox>("ChkMark2")->isChecked());
        // The marker switch, the edit mode and the file names stay.
        QVERIFY(mainControl<QCheckBox>("ChkMarkerMode")->isChecked());
        QVERIFY(mainControl<QAbstractButton>("OptMark_1")->isChecked());
        QCOMPARE(fileNameBox(2)->text(), QStringLiteral("kept.dat"));
    }

    void singleRowDoesNotSwitchOn() {
        editor_ = openWithRecordingLink();
        setCells({{"0", "1"}});
        click("BtnSetMark");
        QCOMPARE(state_.markers.Marker1Count, 1);
        QCOMPARE(state_.markers.Marker1Length, 1);
        QVERIFY(picture(1)->isBlank());
        QCOMPARE(link_.calls, (std::vector<QString>{"name 1 ''"}));
    }

    void emptyGridKeepsTheDrawingAndTheLength() {
        editor_ = openWithRecordingLink();
        setCells({{"0", "1"}, {"60", "0"}});
        click("BtnSetMark");
        link_.calls.clear();
        grid()->setRows({});
        grid()->setCurrentCell(7, 1);
        click("BtnSetMark");
        QCOMPARE(state_.markers.Marker1Count, 0);
        QCOMPARE(state_.markers.Marker1Points[0].Pos, 0);
        QCOMPARE(state_.markers.Marker1Points[0].Value, 0);
        QCOMPARE(state_.markers.Marker1Length, 61);
        QVERIFY(!picture(1)->isBlank());
        QVERIFY(link_.calls.empty());
        QCOMPARE(grid()->currentRow(), 1);
        QCOMPARE(grid()->currentColumn(), 0);
    }

    void clearMarkerTwo() {
        editor_ = openWithRecordingLink();
        setCells({{"0", "1"}, {"200", "0"}});
        click("BtnSetMark");
        selectMarker(1);
        setCells({{"0", "0"}, {"399", "1"}});
        click("BtnSetMark");
        QCOMPARE(state_.markers.MarkerLength, 400);
        link_.calls.clear();
        grid()->setCurrentCell(2, 1);
        click("BtnClrMark");
        const MarkerStore& m = state_.markers;
        for (const MarkerPoint& p : m.Marker2Points) QVERIFY(p.Pos == 0 && p.Value == 0);
        QCOMPARE(m.Marker2Count, 0);
        QCOMPARE(m.Marker2Length, 0);
        QCOMPARE(m.MarkerLength, m.Marker1Length);
        QVERIFY(picture(2)->isBlank());
        QVERIFY(!picture(1)->isBlank());  // not redrawn, still there
        QCOMPARE(link_.calls, (std::vector<QString>{"box 2 0"}));
        QCOMPARE(cell(1, 0), QString());
        QCOMPARE(cell(2, 1), QString());
        QCOMPARE(grid()->currentRow(), 1);
        QCOMPARE(grid()->currentColumn(), 0);
        QCOMPARE(m.Marker1Count, 2);
    }

    void fullGridOfAThousandRows() {
        for (int r = 1; r <= 1000; ++r) {
            grid()->setCellText(r, 0, QString::number(2 * (r - 1)));
            grid()->setCellText(r, 1, QString::number(r % 2));
        }
        click("BtnSetMark");
        QCOMPARE(state_.markers.Marker1Count, 1000);
        QCOMPARE(state_.markers.Marker1Points[999].Pos, 1998);
        QCOMPARE(state_.markers.Marker1Length, 1999);
        QVERIFY(!picture(1)->isBlank());
    }

    void twoMarkersShareMarkerLength() {
        setCells({{"0", "1"}, {"100", "0"}, {"200", "1"}});
        click("BtnSetMark");
        selectMarker(1);
        setCells({{"0", "0"}, {"399", "1"}});
        click("BtnSetMark");
        QCOMPARE(state_.markers.Marker1Length, 201);
        QCOMPARE(state_.markers.Marker2Length, 400);
        QCOMPARE(state_.markers.MarkerLength, 400);
        // Marker 1 is redrawn over 400 samples: its last change at about half
        // the width, running on at that level to the right edge.
        const std::vector<TracePoint> trace = picture(1)->tracePoints();
        const QRect area = picture(1)->contentsRect();
        QVERIFY(trace.size() == 6);
        QVERIFY(std::abs(trace[4].x - (area.left() + area.width() / 2)) <= 1);
        QCOMPARE(trace[5].y, trace[4].y);
        QVERIFY(trace[5].x >= area.right() - 1);
        QVERIFY(!picture(2)->isBlank());
    }

    void reopensOnTheLastMarkerAndDrawsBoth() {
        setCells({{"0", "1"}, {"100", "0"}});
        click("BtnSetMark");
        selectMarker(1);
        setCells({{"10", "1"}, {"300", "0"}});
        click("BtnSetMark");
        auto* close = editor_->findChild<QAction*>(QStringLiteral("MnuCloseMarker"));
        close->trigger();
        QTRY_VERIFY(main_->markerEditor() == nullptr);
        main_->findChild<QAction*>(QStringLiteral("MnuSetupMark"))->trigger();
        editor_ = activate(main_->markerEditor());
        QVERIFY(editor_ != nullptr);
        QCOMPARE(editor_->findChild<QComboBox*>(QStringLiteral("CurrentMarkerSelect"))->currentIndex(), 1);
        QCOMPARE(cell(1, 0), QStringLiteral("10"));
        QCOMPARE(cell(2, 0), QStringLiteral("300"));
        QVERIFY(!picture(1)->isBlank());
        QVERIFY(!picture(2)->isBlank());
    }

    void picturesShowBothTraces() {
        setCells({{"0", "1"}, {"100", "0"}, {"200", "1"}});
        click("BtnSetMark");
        selectMarker(1);
        setCells({{"50", "1"}, {"150", "0"}, {"250", "1"}, {"399", "0"}});
        click("BtnSetMark");
        grid()->setCurrentCell(3, 0);
        const QImage shot = editor_->grab().toImage();
        const QString savePath = qEnvironmentVariable("ORVENDA_MARKER_EDITOR_SCREENSHOT");
        if (!savePath.isEmpty()) QVERIFY(shot.save(savePath));
        // Every corner of each trace is painted black where the picture is.
        for (int marker : {1, 2}) {
            const QPoint origin = picture(marker)->mapTo(editor_, QPoint(0, 0));
            const qreal scale = shot.devicePixelRatio();
            const std::vector<TracePoint> trace = picture(marker)->tracePoints();
            QVERIFY(trace.size() >= 4);
            for (const TracePoint& p : trace) {
                const QPoint at = (origin + QPoint(p.x, p.y)) * scale;
                QCOMPARE(shot.pixelColor(at), QColor(Qt::black));
            }
            // and the area away from the trace is not.
            const QPoint blank = (origin + QPoint(trace[0].x + 3, trace[0].y + 6)) * scale;
            QVERIFY(shot.pixelColor(blank) != QColor(Qt::black));
        }
    }

    void editMarkerButtonShowsTheSameEditor() {
        FrmMarker* first = main_->markerEditor();
        auto* button = main_->findChild<QPushButton*>(QStringLiteral("Command1"));
        QVERIFY(button != nullptr);
        QTest::mouseClick(button, Qt::LeftButton);
        QCOMPARE(main_->markerEditor(), first);
        first->close();
        QTRY_VERIFY(main_->markerEditor() == nullptr);
        QTest::mouseClick(button, Qt::LeftButton);
        QVERIFY(main_->markerEditor() != nullptr);
        QVERIFY(main_->markerEditor()->isVisible());
    }

    void storedListOf1001PointsShowsItsFirst1000() {
        MarkerStore& m = state_.markers;
        for (int i = 0; i < kMarkerPointCapacity; ++i) m.Marker1Points[static_cast<std::size_t>(i)] = {2 * i, i % 2};
        m.Marker1Count = HALVIK_MARKER_LIST_ENTRIES;
        m.Marker1Length = 2001;
        m.MarkerLength = 2001;
        editor_->close();
        QTRY_VERIFY(main_->markerEditor() == nullptr);
        main_->openMarkerEditor();
        editor_ = activate(main_->markerEditor());
        QCOMPARE(cell(1000, 0), QStringLiteral("1998"));
        QCOMPARE(cell(1000, 1), QStringLiteral("1"));
        QVERIFY(!picture(1)->isBlank());
        QVERIFY(picture(2)->isBlank());
    }

    void oneEditorNotModalClosedWithTheMainWindow() {
        FrmMarker* first = main_->markerEditor();
        main_->findChild<QAction*>(QStringLiteral("MnuSetupMark"))->trigger();
        QCOMPARE(main_->markerEditor(), first);
        const QWidgetList windows = QApplication::topLevelWidgets();
        QCOMPARE(std::count_if(windows.begin(), windows.end(),
                               [](QWidget* w) { return qobject_cast<FrmMarker*>(w) != nullptr; }),
                 1);
        QVERIFY(!first->isModal());
        QVERIFY(QApplication::activeModalWidget() == nullptr);
        main_->close();
        QTRY_VERIFY(main_->markerEditor() == nullptr);
    }
};

QTEST_MAIN(TestFrmMarker)
#include "frm_marker_test.moc"
