// A few hundred random user actions on the settings panel from a fixed seed;
// after every one the enabling rules, the coupled switches and the option
// groups must hold.
#include <QTest>
#include <memory>
#include <random>
#include <vector>

#include "tests/settings/main_window_harness.h"

using orvenda::testing::kPanelButtons;
using orvenda::testing::MainWindowHarness;

class SettingsPanelPropertyTest : public QObject {
    Q_OBJECT
private slots:
    void randomActionsKeepTheEnablingRules_data();
    void randomActionsKeepTheEnablingRules();

private:
    // Returns a description of the first broken rule, or an empty string.
    QString brokenRule(const MainWindowHarness& h) const;
};

void SettingsPanelPropertyTest::randomActionsKeepTheEnablingRules_data() {
    QTest::addColumn<unsigned>("seed");
    QTest::addColumn<int>("actions");
    QTest::newRow("seed 1") << 1u << 400;
    QTest::newRow("seed 20261208") << 20261208u << 400;
    QTest::newRow("seed 77") << 77u << 400;
}

void SettingsPanelPropertyTest::randomActionsKeepTheEnablingRules() {
    QFETCH(unsigned, seed);
    QFETCH(int, actions);
    MainWindowHarness h;
    QVERIFY(h.exposed);
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> pick(0, static_cast<int>(std::size(kPanelButtons)) + 2);
    QStringList done;
    int effective = 0;
    for (int step = 0; step < actions; ++step) {
        const int choice = pick(random);
        const auto before = h.panel().snapshot();
        const auto sequenceBefore = h.state.sequence;
        QString action;
        bool clickedEnabled = true;
        if (choice < static_cast<int>(std::size(kPanelButtons))) {
            action = QString::fromLatin1(kPanelButtons[choice]);
            clickedEnabled = h.enabled(action);
            h.click(action);
        } else if (choice == static_cast<int>(std::size(kPanelButtons))) {
            const int marker = 1 + static_cast<int>(random() % 2);
            const bool first = random() % 2 == 0;
            action = QStringLiteral("switchMarkerOutputOn(%1, %2)").arg(marker).arg(first);
            h.panel().switchMarkerOutputOn(static_cast<orvenda::markers::MarkerNumber>(marker), first);
        } else {
            const int marker = 1 + static_cast<int>(random() % 2);
            action = QStringLiteral("setMarkerOn(%1, false)").arg(marker);
            h.panel().setMarkerOn(static_cast<orvenda::markers::MarkerNumber>(marker), false);
        }
        done << action;
        const QString broken = brokenRule(h);
        QVERIFY2(broken.isEmpty(),
                 qPrintable(
                     QStringLiteral("after %1: %2\nactions: %3").arg(action, broken, done.join(QStringLiteral(", ")))));
        if (!clickedEnabled) {
            QVERIFY2(h.panel().snapshot() == before, qPrintable(QStringLiteral("disabled %1 changed").arg(action)));
            QVERIFY(h.state.sequence.SeqModeInternal == sequenceBefore.SeqModeInternal);
        } else if (!(h.panel().snapshot() == before)) {
            ++effective;
        }
    }
    // The walk must have reached far beyond the start.
    QVERIFY2(effective > actions / 4, qPrintable(QString::number(effective)));
}

QString SettingsPanelPropertyTest::brokenRule(const MainWindowHarness& h) const {
    const auto on = [&h](const char* name) { return h.checked(QString::fromLatin1(name)); };
    const auto expect = [&h](std::initializer_list<const char*> names, bool enabled) -> QString {
        for (const char* name : names)
            if (h.enabled(QString::fromLatin1(name)) != enabled)
                return QStringLiteral("%1 should be %2")
                    .arg(QString::fromLatin1(name), enabled ? QStringLiteral("enabled") : QStringLiteral("disabled"));
        return {};
    };
    const bool sequenceOn = on("ChkOutputSequence");
    if (sequenceOn != on("ChkStartTrigger")) return QStringLiteral("ChkOutputSequence and ChkStartTrigger differ");
    const bool link = on("OptStartTrigger_1");
    const bool variable = on("OptIQOutput_1");
    const bool manual = on("OptMark_1");
    const QString checks[] = {
        expect({"CmbFilt"}, on("ChkIQFilter")),
        expect({"TxtIOffset", "TxtQOffset", "LblIQOffsetI", "LblIQOffsetQ", "LblIQOffsetUnitI", "LblIQOffsetUnitQ",
                "ChkIQOffsetLock"},
               on("ChkIQOffset")),
        expect({"OptIQOutput_0", "OptIQOutput_1"}, on("ChkIQOutput")),
        expect({"TxtIOutput", "TxtQOutput", "LblIQOutputI", "LblIQOutputQ", "LblIQOutputUnitI", "LblIQOutputUnitQ",
                "ChkIQOutputLock"},
               on("ChkIQOutput") && variable),
        expect({"OptStartTrigger_0", "OptStartTrigger_1", "OptOutputSequence_0", "OptOutputSequence_1"}, sequenceOn),
        expect({"OptLink_0", "OptLink_1", "OptOutputSequence_2"}, sequenceOn && link),
        expect({"TxtLoopNum", "LblLoopNum"}, sequenceOn && on("OptOutputSequence_1")),
        expect({"OptGated_0", "OptGated_1"}, sequenceOn && on("OptOutputSequence_2") && link),
        expect({"OptMark_0", "OptMark_1"}, on("ChkMarkerMode")),
        expect({"ChkMark1", "ChkMark2"}, on("ChkMarkerMode") && manual),
        expect({"ChkIQInv", "TxtAWGGain", "TxtFs", "OptIF_0", "OptIF_1", "TxtIFFreq"}, true),
    };
    for (const QString& broken : checks)
        if (!broken.isEmpty()) return broken;

    // Exactly one option of each group stays selected under user actions.
    for (const char* group :
         {"OptIQOutput", "OptOutputSequence", "OptGated", "OptStartTrigger", "OptLink", "OptMark", "OptIF"}) {
        int selected = 0;
        for (int i = 0; i < 3; ++i) {
            const QString name = QStringLiteral("%1_%2").arg(QString::fromLatin1(group)).arg(i);
            if (h.window.findChild<QAbstractButton*>(name) && h.checked(name)) ++selected;
        }
        if (selected != 1)
            return QStringLiteral("%1 has %2 options selected").arg(QString::fromLatin1(group)).arg(selected);
    }
    if (on("OptOutputSequence_2") && !link) return QStringLiteral("Gated selected without Link");
    const auto& memory = h.state.sequence;
    if (memory.SeqModeInternal < 0 || memory.SeqModeInternal > 1 || memory.SeqModeLink < 0 || memory.SeqModeLink > 2)
        return QStringLiteral("sequence memory out of range");
    // While the sequence is on, the memory of the current source is the selection.
    if (sequenceOn) {
        const int selectedSequence = on("OptOutputSequence_0") ? 0 : on("OptOutputSequence_1") ? 1 : 2;
        if ((link ? memory.SeqModeLink : memory.SeqModeInternal) != selectedSequence)
            return QStringLiteral("remembered sequence differs from the selection");
    }
    return {};
}

QTEST_MAIN(SettingsPanelPropertyTest)
#include "settings_panel_property_test.moc"
