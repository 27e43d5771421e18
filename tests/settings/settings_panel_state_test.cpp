// The settings panel on the real main window: the designed initial state,
// then the interlocks as a user clicks through them.
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>
#include <memory>

#include "gui/settings/option_group.h"
#include "tests/settings/main_window_harness.h"

using orvenda::testing::MainWindowHarness;

class SettingsPanelStateTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        h = std::make_unique<MainWindowHarness>();
        QVERIFY(h->exposed);
    }
    void cleanup() { h.reset(); }

    void initialState_data();
    void initialState();
    void filterListHasThreeEntries();
    void windowCaptionAndSequenceMemory();
    void groupSwitchesSitInTheirTitles();
    void tabFollowsTheLayout();

    void sequenceOnAtStartEnablesOnlyTheInternalChoices();
    void triggerOffSwitchesBothOffAndKeepsSelections();
    void gatedIsReplacedUnderInternalAndRestoredUnderLink();
    void singleIsRememberedForInternal();
    void outputSwitchUnderFixedPathEnablesOnlyThePaths();
    void filterSwitchFollowsTheCheckBox();
    void offsetSwitchEnablesItsSevenControls();
    void offsetInterlockCopiesOnlyWhenChecked();
    void outputInterlockCopiesIOutputIntoQ();
    void autoEditKeepsTheMarkersCheckMarks();
    void markerSwitchRestoresManualEditControls();
    void disabledControlsIgnoreClicks();
    void changesFromCodeFollowTheToolkitRules();

    void markerFileLoadSwitchesMarkerOutputOn_data();
    void markerFileLoadSwitchesMarkerOutputOn();
    void clearingAMarkerUnchecksOnlyItsBox();
    void snapshotReportsEveryControl();

private:
    std::unique_ptr<MainWindowHarness> h;
};

void SettingsPanelStateTest::initialState_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("value");  // "1"/"0" checked or selected, a text, or "-"
    QTest::addColumn<bool>("enabled");
    const auto row = [](const char* name, const char* value, bool enabled) {
        QTest::newRow(name) << QString::fromLatin1(name) << QString::fromLatin1(value) << enabled;
    };
    for (const char* name : {"ChkIQFilter", "ChkIQOffset", "ChkIQOutput", "ChkOutputSequence", "ChkStartTrigger",
                             "ChkMarkerMode", "ChkIQInv"})
        row(name, "0", true);
    row("CmbFilt", "Filt 2.5M", false);
    row("TxtAWGGain", "1.0", true);
    row("ChkIQOffsetLock", "1", false);
    row("TxtIOffset", "200", false);
    row("TxtQOffset", "200", false);
    for (const char* name : {"LblIQOffsetI", "LblIQOffsetQ", "LblIQOffsetUnitI", "LblIQOffsetUnitQ", "LblIQOutputI",
                             "LblIQOutputQ", "LblIQOutputUnitI", "LblIQOutputUnitQ", "LblLoopNum"})
        row(name, "-", false);
    row("OptIQOutput_0", "1", false);
    row("OptIQOutput_1", "0", false);
    row("ChkIQOutputLock", "1", false);
    row("TxtIOutput", "2000", false);
    row("TxtQOutput", "2000", false);
    row("OptOutputSequence_0", "1", false);
    row("OptOutputSequence_1", "0", false);
    row("OptOutputSequence_2", "0", false);
    row("OptGated_0", "1", false);
    row("OptGated_1", "0", false);
    row("TxtLoopNum", "1", false);
    row("OptStartTrigger_0", "1", false);
    row("OptStartTrigger_1", "0", false);
    row("OptLink_0", "1", false);
    row("OptLink_1", "0", false);
    row("TxtFs", "200.000000000000", true);
    row("OptMark_0", "1", false);
    row("OptMark_1", "0", false);
    row("ChkMark1", "0", false);
    row("ChkMark2", "0", false);
    row("OptIF_0", "1", true);
    row("OptIF_1", "0", true);
    row("TxtIFFreq", "21.4", true);
}

void SettingsPanelStateTest::initialState() {
    QFETCH(QString, name);
    QFETCH(QString, value);
    QFETCH(bool, enabled);
    QWidget* w = h->control(name);
    QCOMPARE(w->isEnabled(), enabled);
    if (auto* b = qobject_cast<QAbstractButton*>(w))
        QCOMPARE(b->isChecked() ? QStringLiteral("1") : QStringLiteral("0"), value);
    else if (auto* t = qobject_cast<QLineEdit*>(w))
        QCOMPARE(t->text(), value);
    else if (auto* c = qobject_cast<QComboBox*>(w))
        QCOMPARE(c->currentText(), value);
    else
        QVERIFY(qobject_cast<QLabel*>(w) != nullptr);
}

void SettingsPanelStateTest::filterListHasThreeEntries() {
    auto* list = h->control<QComboBox>(QStringLiteral("CmbFilt"));
    QCOMPARE(list->count(), 3);
    QCOMPARE(list->itemText(0), QStringLiteral("Filt 2.5M"));
    QCOMPARE(list->itemText(1), QStringLiteral("Filt 50M"));
    QCOMPARE(list->itemText(2), QStringLiteral("Filt Through"));
    QCOMPARE(list->currentIndex(), 0);
}

void SettingsPanelStateTest::windowCaptionAndSequenceMemory() {
    QCOMPARE(h->window.windowTitle(), QStringLiteral("Orvenda Version 1.4"));
    QCOMPARE(h->state.sequence.SeqModeInternal, 0);
    QCOMPARE(h->state.sequence.SeqModeLink, 0);
    const orvenda::settings::PanelSnapshot designed;
    QVERIFY(h->panel().snapshot() == designed);
}

// Each caption-less switch covers the blank start of its group's title, is
// named for it, and stays inside the frame.
void SettingsPanelStateTest::groupSwitchesSitInTheirTitles() {
    const std::pair<const char*, const char*> switches[] = {
        {"ChkIQFilter", "I/Q Filter"},        {"ChkIQOffset", "I/Q Offset"},
        {"ChkIQOutput", "I/Q Output"},        {"ChkOutputSequence", "Output Sequence"},
        {"ChkStartTrigger", "Start Trigger"}, {"ChkMarkerMode", "Marker"}};
    for (auto [name, title] : switches) {
        QAbstractButton* box = h->button(QString::fromLatin1(name));
        auto* group = qobject_cast<QGroupBox*>(box->parentWidget());
        QVERIFY2(group, name);
        QCOMPARE(group->title(), QStringLiteral("      ") + QString::fromLatin1(title));
        QCOMPARE(box->text(), QString());
        QCOMPARE(box->accessibleName(), QString::fromLatin1(title));
        QVERIFY2(box->isVisible(), name);
        QVERIFY2(group->rect().contains(box->geometry()), name);
        const int blanks = group->fontMetrics().horizontalAdvance(QStringLiteral("      "));
        QVERIFY2(box->geometry().top() < group->fontMetrics().height(), name);
        QVERIFY2(box->geometry().left() < blanks, name);
    }
}

// Tab walks the enabled controls column by column, top to bottom; the
// disabled ones of the start state are skipped. An option group is one stop,
// at its selected option, as radio groups are (the arrow keys move inside).
void SettingsPanelStateTest::tabFollowsTheLayout() {
    h->window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&h->window));
    h->click(QStringLiteral("ChkIQOutput"));
    h->click(QStringLiteral("OptIQOutput_1"));
    h->button(QStringLiteral("ChkIQFilter"))->setFocus(Qt::TabFocusReason);
    QStringList walked{QApplication::focusWidget()->objectName()};
    while (walked.size() < 40 && walked.back() != QLatin1String("BtnTransIF")) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        walked << QApplication::focusWidget()->objectName();
    }
    const QStringList expected{"ChkIQFilter", "ChkIQInv",          "TxtAWGGain",      "ChkIQOffset",
                               "ChkIQOutput", "OptIQOutput_1",     "ChkIQOutputLock", "TxtIOutput",
                               "TxtQOutput",  "ChkOutputSequence", "ChkStartTrigger", "TxtFs",
                               "OptIF_0",     "TxtIFFreq",         "BtnTransform",    "BtnTransIF"};
    QCOMPARE(walked, expected);
}

void SettingsPanelStateTest::sequenceOnAtStartEnablesOnlyTheInternalChoices() {
    h->click(QStringLiteral("ChkOutputSequence"));
    QVERIFY(h->checked(QStringLiteral("ChkOutputSequence")));
    QVERIFY(h->checked(QStringLiteral("ChkStartTrigger")));
    for (const char* on : {"OptStartTrigger_0", "OptStartTrigger_1", "OptOutputSequence_0", "OptOutputSequence_1"})
        QVERIFY2(h->enabled(QString::fromLatin1(on)), on);
    for (const char* off :
         {"OptOutputSequence_2", "OptLink_0", "OptLink_1", "TxtLoopNum", "LblLoopNum", "OptGated_0", "OptGated_1"})
        QVERIFY2(!h->enabled(QString::fromLatin1(off)), off);
}

void SettingsPanelStateTest::triggerOffSwitchesBothOffAndKeepsSelections() {
    h->click(QStringLiteral("ChkStartTrigger"));
    QVERIFY(h->checked(QStringLiteral("ChkOutputSequence")));
    h->click(QStringLiteral("OptStartTrigger_1"));
    h->click(QStringLiteral("OptOutputSequence_1"));
    QVERIFY(h->enabled(QStringLiteral("TxtLoopNum")));

    h->click(QStringLiteral("ChkStartTrigger"));
    QVERIFY(!h->checked(QStringLiteral("ChkStartTrigger")));
    QVERIFY(!h->checked(QStringLiteral("ChkOutputSequence")));
    for (const char* off :
         {"OptStartTrigger_0", "OptStartTrigger_1", "OptOutputSequence_0", "OptOutputSequence_1", "OptOutputSequence_2",
          "OptLink_0", "OptLink_1", "TxtLoopNum", "LblLoopNum", "OptGated_0", "OptGated_1"})
        QVERIFY2(!h->enabled(QString::fromLatin1(off)), off);
    QVERIFY(h->checked(QStringLiteral("OptStartTrigger_1")));
    QVERIFY(h->checked(QStringLiteral("OptOutputSequence_1")));
    QCOMPARE(h->state.sequence.SeqModeLink, 1);
}

void SettingsPanelStateTest::gatedIsReplacedUnderInternalAndRestoredUnderLink() {
    h->click(QStringLiteral("ChkOutputSequence"));
    h->click(QStringLiteral("OptStartTrigger_1"));
    QVERIFY(h->enabled(QStringLiteral("OptOutputSequence_2")));
    QVERIFY(h->enabled(QStringLiteral("OptLink_0")));
    h->click(QStringLiteral("OptOutputSequence_2"));
    QVERIFY(h->enabled(QStringLiteral("OptGated_0")));
    QVERIFY(h->enabled(QStringLiteral("OptGated_1")));
    QVERIFY(!h->enabled(QStringLiteral("TxtLoopNum")));
    QCOMPARE(h->state.sequence.SeqModeLink, 2);

    h->click(QStringLiteral("OptStartTrigger_0"));
    QVERIFY(!h->enabled(QStringLiteral("OptOutputSequence_2")));
    QVERIFY(!h->checked(QStringLiteral("OptOutputSequence_2")));
    QVERIFY(h->checked(QStringLiteral("OptOutputSequence_0")));
    QVERIFY(!h->enabled(QStringLiteral("OptGated_0")));
    QVERIFY(!h->enabled(QStringLiteral("OptGated_1")));
    QVERIFY(!h->enabled(QStringLiteral("OptLink_0")));
    // The restore's own sequence choice wrote "Continuous" back for Internal only.
    QCOMPARE(h->state.sequence.SeqModeInternal, 0);
    QCOMPARE(h->state.sequence.SeqModeLink, 2);

    h->click(QStringLiteral("OptStartTrigger_1"));
    QVERIFY(h->checked(QStringLiteral("OptOutputSequence_2")));
    QVERIFY(!h->checked(QStringLiteral("OptOutputSequence_0")));
    QVERIFY(h->enabled(QStringLiteral("OptGated_0")));
    QVERIFY(h->enabled(QStringLiteral("OptGated_1")));
    QVERIFY(!h->enabled(QStringLiteral("TxtLoopNum")));
    QVERIFY(!h->enabled(QStringLiteral("LblLoopNum")));
}

void SettingsPanelStateTest::singleIsRememberedForInternal() {
    h->click(QStringLiteral("ChkOutputSequence"));
    h->click(QStringLiteral("OptOutputSequence_1"));
    QCOMPARE(h->state.sequence.SeqModeInternal, 1);
    h->click(QStringLiteral("OptStartTrigger_1"));
    QVERIFY(h->checked(QStringLiteral("OptOutputSequence_0")));
    QVERIFY(!h->enabled(QStringLiteral("TxtLoopNum")));
    // LblLoopNum follows only because selecting "Continuous" ran the sequence choice.
    QVERIFY(!h->enabled(QStringLiteral("LblLoopNum")));

    h->click(QStringLiteral("OptStartTrigger_0"));
    QVERIFY(h->checked(QStringLiteral("OptOutputSequence_1")));
    QVERIFY(!h->checked(QStringLiteral("OptOutputSequence_0")));
    QVERIFY(h->enabled(QStringLiteral("TxtLoopNum")));
    QVERIFY(h->enabled(QStringLiteral("LblLoopNum")));
}

void SettingsPanelStateTest::outputSwitchUnderFixedPathEnablesOnlyThePaths() {
    h->click(QStringLiteral("ChkIQOutput"));
    QVERIFY(h->enabled(QStringLiteral("OptIQOutput_0")));
    QVERIFY(h->enabled(QStringLiteral("OptIQOutput_1")));
    for (const char* off : {"TxtIOutput", "TxtQOutput", "ChkIQOutputLock", "LblIQOutputI", "LblIQOutputUnitQ"})
        QVERIFY2(!h->enabled(QString::fromLatin1(off)), off);
    h->click(QStringLiteral("OptIQOutput_1"));
    for (const char* on : {"TxtIOutput", "TxtQOutput", "ChkIQOutputLock", "LblIQOutputI", "LblIQOutputQ",
                           "LblIQOutputUnitI", "LblIQOutputUnitQ"})
        QVERIFY2(h->enabled(QString::fromLatin1(on)), on);
    h->click(QStringLiteral("ChkIQOutput"));
    QVERIFY(!h->enabled(QStringLiteral("TxtIOutput")));
    QVERIFY(!h->enabled(QStringLiteral("OptIQOutput_1")));
    QVERIFY(h->checked(QStringLiteral("OptIQOutput_1")));
    // Back on with the variable path still selected: the gains come back too.
    h->click(QStringLiteral("ChkIQOutput"));
    QVERIFY(h->enabled(QStringLiteral("TxtQOutput")));
}

void SettingsPanelStateTest::filterSwitchFollowsTheCheckBox() {
    h->click(QStringLiteral("ChkIQFilter"));
    QVERIFY(h->enabled(QStringLiteral("CmbFilt")));
    h->click(QStringLiteral("ChkIQFilter"));
    QVERIFY(!h->enabled(QStringLiteral("CmbFilt")));
}

void SettingsPanelStateTest::offsetSwitchEnablesItsSevenControls() {
    const char* seven[] = {"LblIQOffsetI",     "LblIQOffsetQ",     "TxtIOffset",     "TxtQOffset",
                           "LblIQOffsetUnitI", "LblIQOffsetUnitQ", "ChkIQOffsetLock"};
    h->click(QStringLiteral("ChkIQOffset"));
    for (const char* name : seven) QVERIFY2(h->enabled(QString::fromLatin1(name)), name);
    h->click(QStringLiteral("ChkIQOffset"));
    for (const char* name : seven) QVERIFY2(!h->enabled(QString::fromLatin1(name)), name);
    QVERIFY(h->checked(QStringLiteral("ChkIQOffsetLock")));
}

void SettingsPanelStateTest::offsetInterlockCopiesOnlyWhenChecked() {
    h->click(QStringLiteral("ChkIQOffset"));
    h->click(QStringLiteral("ChkIQOffsetLock"));  // unchecked: nothing copied
    h->type(QStringLiteral("TxtIOffset"), QStringLiteral("35"), Qt::Key_Tab);
    QCOMPARE(h->text(QStringLiteral("TxtIOffset")), QStringLiteral("35"));
    QCOMPARE(h->text(QStringLiteral("TxtQOffset")), QStringLiteral("200"));
    h->click(QStringLiteral("ChkIQOffsetLock"));
    // A plain copy, not validated: 35 is no multiple of 5 and stays so.
    QCOMPARE(h->text(QStringLiteral("TxtQOffset")), QStringLiteral("35"));
}

void SettingsPanelStateTest::outputInterlockCopiesIOutputIntoQ() {
    h->click(QStringLiteral("ChkIQOutput"));
    h->click(QStringLiteral("OptIQOutput_1"));
    h->click(QStringLiteral("ChkIQOutputLock"));
    h->type(QStringLiteral("TxtIOutput"), QStringLiteral("abc"), Qt::Key_Tab);
    h->type(QStringLiteral("TxtQOutput"), QStringLiteral("1500"), Qt::Key_Tab);
    h->click(QStringLiteral("ChkIQOutputLock"));
    QCOMPARE(h->text(QStringLiteral("TxtQOutput")), QStringLiteral("abc"));
    QCOMPARE(h->text(QStringLiteral("TxtIOutput")), QStringLiteral("abc"));
}

void SettingsPanelStateTest::autoEditKeepsTheMarkersCheckMarks() {
    h->click(QStringLiteral("ChkMarkerMode"));
    h->click(QStringLiteral("OptMark_1"));
    h->click(QStringLiteral("ChkMark1"));
    h->click(QStringLiteral("ChkMark2"));
    QVERIFY(h->checked(QStringLiteral("ChkMark1")));
    h->click(QStringLiteral("OptMark_0"));
    QVERIFY(!h->enabled(QStringLiteral("ChkMark1")));
    QVERIFY(!h->enabled(QStringLiteral("ChkMark2")));
    QVERIFY(h->checked(QStringLiteral("ChkMark1")));
    QVERIFY(h->checked(QStringLiteral("ChkMark2")));
    QVERIFY(h->panel().snapshot().mark1On);
}

void SettingsPanelStateTest::markerSwitchRestoresManualEditControls() {
    h->click(QStringLiteral("ChkMarkerMode"));
    QVERIFY(!h->enabled(QStringLiteral("ChkMark1")));  // "Auto Edit" still selected
    h->click(QStringLiteral("OptMark_1"));
    h->click(QStringLiteral("ChkMarkerMode"));
    QVERIFY(!h->enabled(QStringLiteral("OptMark_0")));
    QVERIFY(!h->enabled(QStringLiteral("ChkMark2")));
    h->click(QStringLiteral("ChkMarkerMode"));
    QVERIFY(h->enabled(QStringLiteral("ChkMark1")));
    QVERIFY(h->enabled(QStringLiteral("ChkMark2")));
}

void SettingsPanelStateTest::disabledControlsIgnoreClicks() {
    const orvenda::settings::PanelSnapshot before = h->panel().snapshot();
    for (const char* name : {"OptOutputSequence_1", "OptStartTrigger_1", "OptIQOutput_1", "ChkMark1", "ChkIQOffsetLock",
                             "OptMark_1", "OptLink_1", "OptGated_1"})
        h->click(QString::fromLatin1(name));
    QVERIFY(h->panel().snapshot() == before);
}

// Setting a check box from code runs its reaction when the state changes;
// selecting an option from code runs its group's reaction; clearing one runs
// nothing. The marker commands and the trigger restore rely on these.
void SettingsPanelStateTest::changesFromCodeFollowTheToolkitRules() {
    h->button(QStringLiteral("ChkIQOffset"))->setChecked(true);
    QVERIFY(h->enabled(QStringLiteral("TxtIOffset")));
    QVERIFY(h->enabled(QStringLiteral("ChkIQOffsetLock")));

    h->button(QStringLiteral("ChkStartTrigger"))->setChecked(true);
    QVERIFY(h->checked(QStringLiteral("ChkOutputSequence")));
    QVERIFY(h->enabled(QStringLiteral("OptOutputSequence_1")));

    h->button(QStringLiteral("OptOutputSequence_1"))->setChecked(true);
    QVERIFY(!h->checked(QStringLiteral("OptOutputSequence_0")));
    QVERIFY(h->enabled(QStringLiteral("LblLoopNum")));
    QCOMPARE(h->state.sequence.SeqModeInternal, 1);

    h->button(QStringLiteral("OptOutputSequence_1"))->setChecked(false);
    QVERIFY(h->enabled(QStringLiteral("LblLoopNum")));
    QCOMPARE(h->state.sequence.SeqModeInternal, 1);
    QCOMPARE(h->panel().snapshot().outputSequenceOption, -1);
}

void SettingsPanelStateTest::markerFileLoadSwitchesMarkerOutputOn_data() {
    QTest::addColumn<int>("marker");
    QTest::addColumn<bool>("checkOnBoxFirst");
    QTest::newRow("load marker 1") << 1 << true;
    QTest::newRow("load marker 2") << 2 << true;
    QTest::newRow("set marker 1") << 1 << false;
    QTest::newRow("set marker 2") << 2 << false;
}

void SettingsPanelStateTest::markerFileLoadSwitchesMarkerOutputOn() {
    QFETCH(int, marker);
    QFETCH(bool, checkOnBoxFirst);
    h->panel().switchMarkerOutputOn(static_cast<orvenda::markers::MarkerNumber>(marker), checkOnBoxFirst);
    QVERIFY(h->checked(QStringLiteral("ChkMarkerMode")));
    QVERIFY(h->checked(QStringLiteral("OptMark_1")));
    QVERIFY(!h->checked(QStringLiteral("OptMark_0")));
    for (const char* on : {"OptMark_0", "OptMark_1", "ChkMark1", "ChkMark2"})
        QVERIFY2(h->enabled(QString::fromLatin1(on)), on);
    QCOMPARE(h->checked(QStringLiteral("ChkMark1")), marker == 1);
    QCOMPARE(h->checked(QStringLiteral("ChkMark2")), marker == 2);

    // The user can then switch the marker output off again as usual.
    h->click(QStringLiteral("ChkMarkerMode"));
    QVERIFY(!h->enabled(QStringLiteral("ChkMark1")));
    QVERIFY(!h->enabled(QStringLiteral("OptMark_1")));
}

void SettingsPanelStateTest::clearingAMarkerUnchecksOnlyItsBox() {
    h->panel().switchMarkerOutputOn(orvenda::markers::MarkerNumber::One, true);
    h->panel().switchMarkerOutputOn(orvenda::markers::MarkerNumber::Two, false);
    h->panel().setMarkerOn(orvenda::markers::MarkerNumber::Two, false);
    QVERIFY(h->checked(QStringLiteral("ChkMark1")));
    QVERIFY(!h->checked(QStringLiteral("ChkMark2")));
    QVERIFY(h->checked(QStringLiteral("ChkMarkerMode")));
    QVERIFY(h->checked(QStringLiteral("OptMark_1")));
    QVERIFY(h->enabled(QStringLiteral("ChkMark2")));
}

// Every value set away from its designed state, each one differently, so a
// field read from the wrong control shows.
void SettingsPanelStateTest::snapshotReportsEveryControl() {
    const auto type = [this](const char* field, const char* text) {
        h->type(QString::fromLatin1(field), QString::fromLatin1(text), Qt::Key_Tab);
    };
    h->click(QStringLiteral("ChkIQFilter"));
    h->control<QComboBox>(QStringLiteral("CmbFilt"))->setCurrentIndex(2);
    h->click(QStringLiteral("ChkIQInv"));
    type("TxtAWGGain", "0.5");
    h->click(QStringLiteral("ChkIQOffset"));
    h->click(QStringLiteral("ChkIQOffsetLock"));
    type("TxtIOffset", "10");
    type("TxtQOffset", "-20");
    h->click(QStringLiteral("ChkIQOutput"));
    h->click(QStringLiteral("OptIQOutput_1"));
    h->click(QStringLiteral("ChkIQOutputLock"));
    type("TxtIOutput", "1000");
    type("TxtQOutput", "1500");
    h->click(QStringLiteral("ChkStartTrigger"));
    h->click(QStringLiteral("OptOutputSequence_1"));
    type("TxtLoopNum", "7");
    h->click(QStringLiteral("OptStartTrigger_1"));
    h->click(QStringLiteral("OptLink_1"));
    h->click(QStringLiteral("OptOutputSequence_2"));
    h->click(QStringLiteral("OptGated_1"));
    type("TxtFs", "100");
    h->click(QStringLiteral("ChkMarkerMode"));
    h->click(QStringLiteral("OptMark_1"));
    h->click(QStringLiteral("ChkMark2"));
    h->click(QStringLiteral("OptIF_1"));
    type("TxtIFFreq", "10.7");

    orvenda::settings::PanelSnapshot expected;
    expected.iqFilterOn = true;
    expected.filterIndex = 2;
    expected.iqInverse = true;
    expected.awgGainText = "0.5";
    expected.iqOffsetOn = true;
    expected.iqOffsetLock = false;
    expected.iOffsetText = "10";
    expected.qOffsetText = "-20";
    expected.iqOutputOn = true;
    expected.iqOutputOption = 1;
    expected.iqOutputLock = false;
    expected.iOutputText = "1000";
    expected.qOutputText = "1500";
    expected.outputSequenceOn = true;
    expected.outputSequenceOption = 2;
    expected.gatedOption = 1;
    expected.loopNumText = "7";
    expected.startTriggerOn = true;
    expected.startTriggerOption = 1;
    expected.linkOption = 1;
    expected.fsText = "100";
    expected.markerModeOn = true;
    expected.markOption = 1;
    expected.mark1On = false;
    expected.mark2On = true;
    expected.ifOption = 1;
    expected.ifFreqText = "10.7";
    const orvenda::settings::PanelSnapshot got = h->panel().snapshot();
    QCOMPARE(QString::fromStdString(got.iOffsetText + "/" + got.qOffsetText + "/" + got.iOutputText + "/" +
                                    got.qOutputText + "/" + got.loopNumText + "/" + got.fsText),
             QStringLiteral("10/-20/1000/1500/7/100"));
    QVERIFY(got == expected);
}

QTEST_MAIN(SettingsPanelStateTest)
#include "settings_panel_state_test.moc"
