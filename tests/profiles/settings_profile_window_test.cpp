// The Tools menu's settings commands on the real main window: a panel set by
// random clicks and entries is saved and loaded into other windows, which
// then show the same values and the same enabled controls; refused files
// change nothing; a waveform header sets what it tells.
#include <QAction>
#include <QTest>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <memory>
#include <random>

#include "core/profiles/profile_snapshot.h"
#include "core/profiles/settings_file.h"
#include "tests/profiles/profile_test_support.h"
#include "tests/settings/main_window_harness.h"

using orvenda::testing::kPanelButtons;
using orvenda::testing::MainWindowHarness;
namespace fs = std::filesystem;

namespace {

const char* const kOthers[] = {"CmbFilt",      "TxtAWGGain",   "TxtIOffset",      "TxtQOffset", "TxtIOutput",
                               "TxtQOutput",   "TxtLoopNum",   "LblLoopNum",      "TxtFs",      "TxtIFFreq",
                               "LblIQOffsetI", "LblIQOutputQ", "LblIQOutputUnitI"};

// A random value each field keeps after Enter.
QString randomEntry(const QString& field, std::mt19937& random) {
    const auto pick = [&random](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    if (field == "TxtAWGGain") return QString::number(pick(0, 1000) / 1000.0);
    if (field == "TxtFs") return QString::number(pick(125000, 2000000) / 10000.0, 'g', 12);
    if (field == "TxtIFFreq") return QString::number(pick(-50000, 50000) / 100.0);
    if (field.contains("Offset")) return QString::number(5 * pick(-150, 150));
    if (field.contains("Output")) return QString::number(5 * pick(40, 400));
    return QString::number(pick(1, 65536));  // TxtLoopNum
}

const char* const kFields[] = {"TxtAWGGain", "TxtFs",      "TxtIFFreq",  "TxtIOffset",
                               "TxtQOffset", "TxtIOutput", "TxtQOutput", "TxtLoopNum"};

// Every field entered once (its group switched on to reach it), then a
// random walk of clicks and entries, and random marker lists.
void randomize(MainWindowHarness& h, std::mt19937& random) {
    for (const char* on : {"ChkIQOffset", "ChkIQOutput", "OptIQOutput_1", "ChkOutputSequence", "OptOutputSequence_1"})
        h.click(QString::fromLatin1(on));
    for (const char* field : kFields)
        h.type(QString::fromLatin1(field), randomEntry(QString::fromLatin1(field), random));
    std::uniform_int_distribution<int> pick(0, static_cast<int>(std::size(kPanelButtons) + std::size(kFields)) - 1);
    for (int step = 0; step < 120; ++step) {
        const int choice = pick(random);
        if (choice < static_cast<int>(std::size(kPanelButtons))) {
            h.click(QString::fromLatin1(kPanelButtons[choice]));
            continue;
        }
        const QString field = QString::fromLatin1(kFields[choice - std::size(kPanelButtons)]);
        if (h.enabled(field)) h.type(field, randomEntry(field, random));
    }
    if (h.enabled("CmbFilt")) h.control<QComboBox>("CmbFilt")->setCurrentIndex(static_cast<int>(random() % 3));
    const orvenda::profiles::SettingsProfile lists = orvenda::testing::randomProfile(random);
    orvenda::profiles::storeProfilePoints(h.state.markers, 1, lists.marker1Points);
    orvenda::profiles::storeProfilePoints(h.state.markers, 2, lists.marker2Points);
}

bool samePoints(const std::vector<MarkerPoint>& a, const std::vector<MarkerPoint>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](const MarkerPoint& x, const MarkerPoint& y) { return x.Pos == y.Pos && x.Value == y.Value; });
}

// QVERIFY2 builds its message whether or not the check fails.
QString lastMessage(const MainWindowHarness& h) {
    return h.dialogs.messages.empty() ? QString() : h.dialogs.messages.back().text;
}

void trigger(MainWindowHarness& h, const char* action) {
    QAction* found = h.window.findChild<QAction*>(QString::fromLatin1(action));
    if (!found) qFatal("no action %s", action);
    found->trigger();
}

QString differingControl(const MainWindowHarness& a, const MainWindowHarness& b) {
    for (const char* name : kPanelButtons)
        if (a.enabled(name) != b.enabled(name) || a.checked(name) != b.checked(name)) return QString::fromLatin1(name);
    for (const char* name : kOthers)
        if (a.enabled(name) != b.enabled(name)) return QString::fromLatin1(name);
    return {};
}

}  // namespace

class SettingsProfileWindowTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        folder = fs::temp_directory_path() /
                 ("orvenda-profile-window-" + std::to_string(QCoreApplication::applicationPid()));
        fs::create_directories(folder);
    }
    void cleanup() { fs::remove_all(folder); }

    void saveThenLoadGivesTheSamePanel_data() {
        QTest::addColumn<unsigned>("seed");
        for (unsigned seed : {1u, 2u, 3u, 20261209u, 77u, 4242u})
            QTest::newRow(qPrintable(QString::number(seed))) << seed;
    }
    void saveThenLoadGivesTheSamePanel() {
        QFETCH(unsigned, seed);
        std::mt19937 random(seed);
        MainWindowHarness saved;
        randomize(saved, random);
        const QString path = QString::fromStdString((folder / "panel.orvenda").string());
        saved.dialogs.fileAnswers.push_back(path);
        trigger(saved, "MnuSaveSettings");
        QVERIFY2(saved.dialogs.messages.empty(), qPrintable(lastMessage(saved)));

        // Into a fresh window and into windows already set otherwise.
        std::vector<std::unique_ptr<MainWindowHarness>> windows;
        for (int k = 0; k < 4; ++k) {
            windows.push_back(std::make_unique<MainWindowHarness>());
            if (k > 0) randomize(*windows.back(), random);
        }
        for (const auto& window : windows) {
            MainWindowHarness* loaded = window.get();
            loaded->dialogs.fileAnswers.push_back(path);
            trigger(*loaded, "MnuLoadSettings");
            QVERIFY2(loaded->dialogs.messages.empty(), qPrintable(lastMessage(*loaded)));
            QVERIFY(loaded->panel().snapshot() == saved.panel().snapshot());
            const QString differs = differingControl(saved, *loaded);
            QVERIFY2(differs.isEmpty(), qPrintable(differs));
            for (int marker : {1, 2})
                QVERIFY(samePoints(orvenda::profiles::storedPoints(loaded->state.markers, marker),
                                   orvenda::profiles::storedPoints(saved.state.markers, marker)));
            QCOMPARE(loaded->state.markers.MarkerLength, saved.state.markers.MarkerLength);
            // While the sequence is on, the memory of the chosen source is the choice.
            const auto& s = loaded->panel().snapshot();
            if (s.outputSequenceOn)
                QCOMPARE(s.startTriggerOption == 1 ? loaded->state.sequence.SeqModeLink
                                                   : loaded->state.sequence.SeqModeInternal,
                         s.outputSequenceOption);
        }
    }

    // Leaving "Link" and "Gated" for "Internal" and "Single": the source's
    // reaction disables the Link options and "Gated", the sequence's enables
    // the loop count, and the memory of "Internal" holds "Single".
    void loadingLeavesLinkThroughTheReactions() {
        MainWindowHarness h;
        for (const char* click : {"ChkOutputSequence", "OptStartTrigger_1", "OptOutputSequence_2", "OptGated_1"})
            h.click(click);
        orvenda::profiles::SettingsProfile target;
        target.outputSequenceOn = target.startTriggerOn = true;
        target.outputSequence = 1;
        target.loops = 12;
        target.gate = 1;
        const std::string path = (folder / "single.orvenda").string();
        QVERIFY(!orvenda::profiles::writeProfileFile(path, target));
        h.dialogs.fileAnswers.push_back(QString::fromStdString(path));
        trigger(h, "MnuLoadSettings");
        QVERIFY2(lastMessage(h).isEmpty(), qPrintable(lastMessage(h)));
        QVERIFY(h.checked("OptStartTrigger_0") && h.checked("OptOutputSequence_1"));
        QVERIFY(!h.enabled("OptLink_0") && !h.enabled("OptOutputSequence_2") && !h.enabled("OptGated_1"));
        QVERIFY(h.enabled("TxtLoopNum") && h.enabled("LblLoopNum"));
        QCOMPARE(h.text("TxtLoopNum"), QStringLiteral("12"));
        QCOMPARE(h.state.sequence.SeqModeInternal, 1);
        QCOMPARE(h.state.sequence.SeqModeLink, 2);
    }

    void refusedFilesChangeNothing() {
        std::mt19937 random(5);
        MainWindowHarness h;
        randomize(h, random);
        const auto before = h.panel().snapshot();
        const auto markersBefore = orvenda::profiles::storedPoints(h.state.markers, 1);
        const struct {
            const char* name;
            const char* bytes;
            const char* expected;
        } rows[] = {
            {"typo.orvenda", R"({"version": 1, "iqFliter": {}})", "iqFliter: unknown key"},
            {"newer.orvenda", R"({"version": 2})", "version: 2 is newer"},
            {"text.orvenda", "I,Q\n1,2\n", "is neither a settings profile"},
        };
        for (const auto& row : rows) {
            const std::string path = (folder / row.name).string();
            std::ofstream(path) << row.bytes;
            h.dialogs.fileAnswers.push_back(QString::fromStdString(path));
            trigger(h, "MnuLoadSettings");
            QVERIFY(!h.dialogs.messages.empty());
            const QString message = h.dialogs.messages.back().text;
            QVERIFY2(message.contains(QString::fromStdString(path)) && message.contains(QLatin1String(row.expected)),
                     qPrintable(message));
            QVERIFY(h.panel().snapshot() == before);
            QVERIFY(samePoints(orvenda::profiles::storedPoints(h.state.markers, 1), markersBefore));
        }
        // A field typed without Enter is named before any dialog opens.
        h.click("ChkIQOffset");
        if (!h.checked("ChkIQOffset")) h.click("ChkIQOffset");
        h.type("TxtIOffset", "900", Qt::Key_Tab);
        const std::size_t asked = h.dialogs.fileRequests.size();
        trigger(h, "MnuSaveSettings");
        QCOMPARE(h.dialogs.fileRequests.size(), asked);
        QVERIFY2(lastMessage(h).contains("iqOffset.i: 900 mVp-p is outside"), qPrintable(lastMessage(h)));
    }

    void waveformHeaderSetsWhatItTells() {
        MainWindowHarness h;
        h.type("TxtAWGGain", "0.25");
        const std::string path = (folder / "shipped.awv").string();
        std::ofstream(path, std::ios::binary)
            << "{DATE:2026/11/09;10:00:00}\n{IQFILTER:FLT50M}\n{IQOUTPUT:VAR}\n{IQGAIN:1.235000E+000;8.000000E-001}\n"
               "{STARTTRIGGER:LINK;NEG}\n{OUTPUTSEQUENCE:GATE;LEV}\n{SAMPLINGFREQ:61440000.000000}\n"
               "{MARKER1:ON;POS;0;2;2;1}\n{MARKERMODE:WFM}\n{WAVEDATA:0;}";
        h.dialogs.fileAnswers.push_back(QString::fromStdString(path));
        trigger(h, "MnuSettingsFromWaveform");
        QCOMPARE(h.dialogs.fileRequests.back().title, QStringLiteral("Settings from Waveform File"));
        QVERIFY(h.checked("ChkIQFilter") && h.enabled("CmbFilt"));
        QCOMPARE(h.control<QComboBox>("CmbFilt")->currentIndex(), 1);
        QVERIFY(h.checked("OptIQOutput_1") && h.enabled("TxtIOutput"));
        QCOMPARE(h.text("TxtIOutput"), QStringLiteral("1235"));
        QCOMPARE(h.text("TxtQOutput"), QStringLiteral("800"));
        QVERIFY(!h.checked("ChkIQOutputLock"));
        QVERIFY(h.checked("ChkOutputSequence") && h.checked("ChkStartTrigger"));
        QVERIFY(h.checked("OptStartTrigger_1") && h.checked("OptLink_1") && h.checked("OptOutputSequence_2"));
        QVERIFY(h.checked("OptGated_1") && h.enabled("OptGated_1"));
        QCOMPARE(h.state.sequence.SeqModeLink, 2);
        QCOMPARE(h.text("TxtFs"), QStringLiteral("61.440000000000"));
        QVERIFY(h.checked("ChkMarkerMode") && h.checked("OptMark_1") && h.checked("ChkMark1") &&
                !h.checked("ChkMark2"));
        QCOMPARE(h.text("TxtAWGGain"), QStringLiteral("0.25"));  // the header does not tell it
        QVERIFY(!h.dialogs.messages.empty());
        const QString message = h.dialogs.messages.back().text;
        QVERIFY2(message.contains("Data Full Scale") && message.contains("Loop Num") &&
                     message.contains("stay as they were"),
                 qPrintable(message));
        // A damaged header changes nothing.
        const auto before = h.panel().snapshot();
        std::ofstream(path, std::ios::binary) << "{IQFILTER:FLT50M}\n{SAMPLINGFREQ:61440000.0}\n{WAVEDATA:0;}";
        h.dialogs.fileAnswers.push_back(QString::fromStdString(path));
        trigger(h, "MnuSettingsFromWaveform");
        QVERIFY2(lastMessage(h).contains("SAMPLINGFREQ value \"61440000.0\""), qPrintable(lastMessage(h)));
        QVERIFY(h.panel().snapshot() == before);
    }

private:
    fs::path folder;
};

QTEST_MAIN(SettingsProfileWindowTest)
#include "settings_profile_window_test.moc"
