// A file converted on the command line is the file the program Orvenda
// writes for the same input and settings, byte for byte apart from the DATE
// line. Each row converts once through orvenda-cli and once through the real
// main window (loads, marker files, panel controls, transform button, with
// scripted dialogs), both on the real engine.
#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>

#include <gtest/gtest.h>

#include <ostream>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <sstream>

#include "core/state/comon_lib.h"
#include "engine/awv_reader.h"
#include "gui/main_window/frm_halvik_wave_main.h"
#include "tests/cli/awv_test_files.h"
#include "tests/cli/program_run.h"
#include "tests/support/scripted_dialogs.h"

namespace orvenda::cli::test {
namespace {

// The main window as a user drives it.
class Gui {
public:
    explicit Gui(const ScratchFolder& scratch)
        : scratch_(scratch), window_(std::make_unique<FrmHalvikWaveMain>(state_, dialogs_)) {
        window_->show();
    }

    // A menu load or a button that opens a file dialog, answered with `file`.
    void open(const char* command, const std::string& file) {
        dialogs_.fileAnswers.push_back(QString::fromStdString(scratch_.file(file)));
        if (auto* action = window_->findChild<QAction*>(QString::fromLatin1(command)))
            action->trigger();
        else
            click(command);
    }
    void check(const char* name) {
        auto* box = find<QAbstractButton>(name);
        if (box && box->isEnabled() && !box->isChecked()) box->click();
        EXPECT_TRUE(box && box->isChecked()) << name;
    }
    void click(const char* name) {
        auto* button = find<QAbstractButton>(name);
        ASSERT_TRUE(button && button->isEnabled()) << name;
        button->click();  // as a user's click: toggles and runs the click handlers
    }
    // Typed without Enter, as the transform commands then read it.
    void type(const char* name, const char* text) {
        auto* box = find<QLineEdit>(name);
        ASSERT_TRUE(box) << name;
        box->setText(QString::fromLatin1(text));
    }
    void choose(const char* name, int index) {
        auto* list = find<QComboBox>(name);
        ASSERT_TRUE(list) << name;
        list->setCurrentIndex(index);
    }
    void transform(const char* button, const std::string& output) {
        dialogs_.fileAnswers.push_back(QString::fromStdString(scratch_.file(output)));
        click(button);
    }

private:
    template <typename T>
    T* find(const char* name) const {
        T* control = window_->findChild<T*>(QString::fromLatin1(name));
        EXPECT_NE(control, nullptr) << name;
        return control;
    }

    const ScratchFolder& scratch_;
    ComonLib state_;
    testing::ScriptedDialogs dialogs_;
    std::unique_ptr<FrmHalvikWaveMain> window_;
};

// Inputs every row may use, written afresh in each test's folder.
void writeInputs(const ScratchFolder& scratch) {
    std::ostringstream csv, twoColumns, iValues, qValues;
    std::string shorts, floats;
    for (int n = 0; n < 1000; ++n) {
        csv << std::cos(0.1 * n) << "," << 0.5 * std::sin(0.1 * n) << "\n";
        twoColumns << (n * 37) % 2001 - 1000 << " " << (n * 53) % 1501 - 750 << "\n";
        iValues << 0.9 * std::sin(0.05 * n) << "\n";
        qValues << 0.7 * std::cos(0.07 * n) << "\n";
        auto i16 = static_cast<int16_t>(n == 3 ? -32768 : (n * 997) % 65535 - 32767);
        auto q16 = static_cast<int16_t>((n * 331) % 20001 - 10000);
        for (int16_t v : {i16, q16}) shorts.append(reinterpret_cast<const char*>(&v), 2);
    }
    for (int n = 0; n < 1030; ++n) {  // not a multiple of 4: the load rounds the count up
        float pair[2] = {static_cast<float>(0.8 * std::sin(0.013 * n)), static_cast<float>(0.6 * std::cos(0.029 * n))};
        floats.append(reinterpret_cast<const char*>(pair), sizeof pair);
    }
    writeFile(scratch.file("tone.csv"), csv.str());
    writeFile(scratch.file("columns.txt"), twoColumns.str());
    writeFile(scratch.file("tone.i"), iValues.str());
    writeFile(scratch.file("tone.q"), qValues.str());
    writeFile(scratch.file("seven.q"), "0.1\n-0.2\n0.3\n-0.4\n0.5\n-0.6\n0.7\n");
    writeFile(scratch.file("capture.MNT"), shorts);
    writeFile(scratch.file("burst.TXD"), floats);
    writeFile(scratch.file("gate.dat"), "0\t1\r\n100\t0\r\n300\t1\r\n");
    writeFile(scratch.file("sync.dat"), "50,1,60,0");
}

struct GuiCase {
    const char* name;
    std::vector<std::string> cli;   // after "convert"; names starting with "@" are files of the folder
    std::function<void(Gui&)> gui;  // ends with the transform into gui.awv
};

void PrintTo(const GuiCase& row, std::ostream* out) { *out << row.name; }

std::vector<GuiCase> guiCases() {
    return {
        {"CsvFilterAndFs",
         {"@tone.csv", "--iq-filter", "50M", "--fs", "61.44"},
         [](Gui& g) {
             g.open("MnuLoadIQ", "tone.csv");
             g.check("ChkIQFilter");
             g.choose("CmbFilt", 1);
             g.type("TxtFs", "61.44");
             g.transform("BtnTransform", "gui.awv");
         }},
        {"TextEveryBaseBandGroup",
         {"@columns.txt",
          "--layout",
          "iq",
          "--iq-filter",
          "through",
          "--data-full-scale",
          "0.5",
          "--iq-inverse",
          "--iq-offset",
          "-35,40",
          "--iq-output",
          "var",
          "--iq-output-level",
          "1500,1000",
          "--sequence",
          "single",
          "--loops",
          "7",
          "--start-trigger",
          "link",
          "--trigger-polarity",
          "negative",
          "--fs",
          "100"},
         [](Gui& g) {
             g.open("MnuLoadIQ", "columns.txt");
             g.check("ChkIQFilter");
             g.choose("CmbFilt", 2);
             g.type("TxtAWGGain", "0.5");
             g.check("ChkIQInv");
             g.check("ChkIQOffset");
             g.type("TxtIOffset", "-35");
             g.type("TxtQOffset", "40");
             g.check("ChkIQOutput");
             g.click("OptIQOutput_1");
             g.type("TxtIOutput", "1500");
             g.type("TxtQOutput", "1000");
             g.check("ChkOutputSequence");
             g.click("OptStartTrigger_1");
             g.click("OptLink_1");
             g.click("OptOutputSequence_1");
             g.type("TxtLoopNum", "7");
             g.type("TxtFs", "100");
             g.transform("BtnTransform", "gui.awv");
         }},
        {"ShortGatedFixManualMarkers",
         {"@capture.MNT", "--iq-output", "fix", "--start-trigger", "link", "--sequence", "gated", "--gate", "level",
          "--marker-mode", "manual"},
         [](Gui& g) {
             g.open("MnuLoadBs", "capture.MNT");
             g.check("ChkIQOutput");
             g.check("ChkStartTrigger");
             g.click("OptStartTrigger_1");
             g.click("OptOutputSequence_2");
             g.click("OptGated_1");
             g.check("ChkMarkerMode");
             g.click("OptMark_1");
             g.transform("BtnTransform", "gui.awv");
         }},
        {"FloatRealIfWithMarkerFiles",
         {"@burst.TXD", "--if", "real", "--carrier", "10", "--fs", "50", "--marker1", "@gate.dat", "--marker2",
          "@sync.dat"},
         [](Gui& g) {
             g.open("MnuLoadBf", "burst.TXD");
             g.open("CmdLoadMarker1", "gate.dat");
             g.open("CmdLoadMarker2", "sync.dat");
             g.type("TxtIFFreq", "10");
             g.type("TxtFs", "50");
             g.transform("BtnTransIF", "gui.awv");
         }},
        {"IAndQFilesOffsetIf",
         {"--i-file", "@tone.i", "--q-file", "@tone.q", "--if", "offset", "--carrier", "-2.5", "--sequence",
          "continuous", "--marker-mode", "auto"},
         [](Gui& g) {
             g.open("MnuLoadI", "tone.i");
             g.open("MnuLoadQ", "tone.q");
             g.click("OptIF_1");
             g.type("TxtIFFreq", "-2.5");
             g.check("ChkOutputSequence");
             g.check("ChkMarkerMode");
             g.transform("BtnTransIF", "gui.awv");
         }},
        {"IFileSpecifiedSizeAutoEditAfterMarkerFile",
         {"@tone.i", "--data-size", "600", "--marker1", "@gate.dat", "--marker-mode", "auto"},
         [](Gui& g) {
             g.check("ChkSpecSize");
             g.type("TxtDataSizeI", "600");
             g.open("MnuLoadI", "tone.i");
             g.open("CmdLoadMarker1", "gate.dat");
             g.click("OptMark_0");
             g.transform("BtnTransform", "gui.awv");
         }},
        {"QFileOfSevenValues",
         {"@seven.q", "--fs", "12.5", "--data-full-scale", "0"},
         [](Gui& g) {
             g.open("MnuLoadQ", "seven.q");
             g.type("TxtFs", "12.5");
             g.type("TxtAWGGain", "0");
             g.transform("BtnTransform", "gui.awv");
         }},
    };
}

class CliMatchesGui : public ::testing::TestWithParam<GuiCase> {
public:
    static void SetUpTestSuite() {
        static int argc = 1;
        static char name[] = "cli_matches_gui_test";
        static char* argv[] = {name, nullptr};
        // No window needs to be seen; runs without a display as well.
        if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        if (QApplication::instance() == nullptr) new QApplication(argc, argv);
    }
};

TEST_P(CliMatchesGui, SameFileApartFromTheDate) {
    ScratchFolder scratch;
    writeInputs(scratch);
    std::vector<std::string> args = {"convert", "-o", scratch.file("cli.awv"), "--quiet"};
    for (const std::string& arg : GetParam().cli) args.push_back(arg[0] == '@' ? scratch.file(arg.substr(1)) : arg);
    ProgramRun run = runProgram(ORVENDA_CLI_PROGRAM, args, scratch);
    ASSERT_EQ(run.exitCode, 0) << run.err;

    {
        Gui gui(scratch);
        GetParam().gui(gui);
    }
    const std::string fromCli = readFile(scratch.file("cli.awv"));
    const std::string fromGui = readFile(scratch.file("gui.awv"));
    ASSERT_EQ(fromGui.rfind("{DATE:", 0), 0u) << "the window wrote no file";
    ASSERT_EQ(fromCli.rfind("{DATE:", 0), 0u);
    EXPECT_EQ(withoutDateLine(fromCli).size(), withoutDateLine(fromGui).size());
    EXPECT_TRUE(withoutDateLine(fromCli) == withoutDateLine(fromGui)) << "first header lines:\n"
                                                                      << fromCli.substr(0, 200) << "\n---\n"
                                                                      << fromGui.substr(0, 200);
    // Both are well-formed waveform files.
    EXPECT_TRUE(std::holds_alternative<halvik::AwvSummary>(halvik::readAwv(asBytes(fromCli))));
}

INSTANTIATE_TEST_SUITE_P(Table, CliMatchesGui, ::testing::ValuesIn(guiCases()),
                         [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace orvenda::cli::test
