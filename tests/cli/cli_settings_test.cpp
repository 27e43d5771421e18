// orvenda-cli with settings that travel: "settings" writes a profile from a
// waveform header, "convert --settings" takes a profile or a waveform file
// and the options given beside it win; refused files change nothing.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/cli/program_run.h"

namespace orvenda::cli::test {
namespace {

namespace fs = std::filesystem;

ProgramRun cli(const ScratchFolder& scratch, const std::vector<std::string>& args) {
    return runProgram(ORVENDA_CLI_PROGRAM, args, scratch);
}

// Two-column text: a tone of 400 samples.
std::string toneText() {
    std::string text;
    for (int n = 0; n < 400; ++n) text += std::to_string((n % 7) - 3) + "," + std::to_string((n % 5) - 2) + "\n";
    return text;
}

std::vector<std::string> with(std::vector<std::string> args, const std::vector<std::string>& more) {
    args.insert(args.end(), more.begin(), more.end());
    return args;
}

class CliSettings : public ::testing::Test {
protected:
    void SetUp() override { writeFile(input, toneText()); }

    std::vector<std::string> convertTo(const std::string& output) const {
        return {"convert", "--layout", "iq", input, "-o", scratch.file(output), "-q"};
    }

    ScratchFolder scratch;
    std::string input = scratch.file("tone.dat");
};

TEST_F(CliSettings, AConvertedFileGivesItsHeaderLinesAgain) {
    const std::vector<std::vector<std::string>> optionSets = {
        {},
        {"--iq-filter", "2.5M", "--fs", "12.5"},
        {"--iq-output", "fix", "--iq-offset", "-750,5", "--sequence", "single", "--loops", "65536"},
        {"--iq-output", "var", "--iq-output-level", "1235,200", "--start-trigger", "link", "--trigger-polarity",
         "negative", "--sequence", "gated", "--gate", "level", "--fs", "61.44"},
        {"--start-trigger", "link", "--sequence", "continuous", "--marker-mode", "auto", "--iq-filter", "through"},
        {"--marker-mode", "manual", "--fs", "123.45678901234", "--if", "offset", "--carrier", "10"},
        {"--marker-mode", "auto", "--if", "real"},
    };
    int k = 0;
    for (const auto& options : optionSets) {
        SCOPED_TRACE(k);
        const std::string first = "first" + std::to_string(k) + ".awv";
        const std::string profile = scratch.file("p" + std::to_string(k) + ".orvenda");
        ProgramRun run = cli(scratch, with(convertTo(first), options));
        ASSERT_EQ(run.exitCode, 0) << run.err;
        run = cli(scratch, {"settings", scratch.file(first), "-o", profile});
        ASSERT_EQ(run.exitCode, 0) << run.err;
        EXPECT_NE(run.err.find("note: the header does not tell"), std::string::npos) << run.err;
        // The transform kind is the command's, as the panel's two buttons
        // are; the carrier changes the samples, not the header.
        std::vector<std::string> kind;
        for (std::size_t i = 0; i < options.size(); ++i)
            if (options[i] == "--if" || options[i] == "--carrier")
                kind.insert(kind.end(), {options[i], options[i + 1]});
        for (const std::string& source : {scratch.file(first), profile}) {
            const std::string again = "again" + std::to_string(k) + ".awv";
            run = cli(scratch, with(with(convertTo(again), {"--settings", source}), kind));
            ASSERT_EQ(run.exitCode, 0) << run.err;
            EXPECT_TRUE(withoutDateLine(readFile(scratch.file(again))) ==
                        withoutDateLine(readFile(scratch.file(first))))
                << source << "\n"
                << readFile(scratch.file(again)).substr(0, 150);
        }
        ++k;
    }
}

TEST_F(CliSettings, OptionsGivenBesideTheSettingsWin) {
    ProgramRun run = cli(scratch, with(convertTo("a.awv"), {"--iq-filter", "50M", "--start-trigger", "link",
                                                            "--sequence", "gated", "--iq-inverse"}));
    ASSERT_EQ(run.exitCode, 0) << run.err;
    run = cli(scratch, {"settings", scratch.file("a.awv"), "-o", scratch.file("a.orvenda")});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    run = cli(scratch,
              with(convertTo("b.awv"), {"--settings", scratch.file("a.orvenda"), "--fs", "100", "--gate", "level"}));
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::string b = readFile(scratch.file("b.awv"));
    EXPECT_NE(b.find("{IQFILTER:FLT50M}\n{STARTTRIGGER:LINK;POS}\n{OUTPUTSEQUENCE:GATE;LEV}\n"
                     "{SAMPLINGFREQ:100000000.000000}\n"),
              std::string::npos)
        << b.substr(0, 200);
    // The profile's gated sequence cannot go under the internal trigger.
    run = cli(scratch,
              with(convertTo("c.awv"), {"--settings", scratch.file("a.orvenda"), "--start-trigger", "internal"}));
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.err.find("--start-trigger: the gated sequence of --settings needs link"), std::string::npos)
        << run.err;
}

TEST_F(CliSettings, AProfilesMarkerListsReachTheFile) {
    writeFile(scratch.file("m.orvenda"), R"({"version": 1,
      "iqFilter": {"on": false, "filter": "2.5M"}, "dataFullScale": {"value": 0.5, "iqInverse": false},
      "iqOffset": {"on": false, "interlock": true, "i": 200, "q": 200},
      "iqOutput": {"on": false, "path": "fix", "interlock": true, "i": 2000, "q": 2000},
      "outputSequence": {"on": false, "mode": "continuous", "loops": 1, "gate": "edge"},
      "startTrigger": {"on": false, "source": "internal", "polarity": "positive"},
      "samplingFrequencyMHz": 200,
      "marker": {"on": true, "edit": "manual", "marker1On": true, "marker2On": true,
                 "marker1Points": [[0, 1], [100, 0]], "marker2Points": [[10, 1]]},
      "intermediateFrequency": {"mode": "real", "carrierMHz": 21.4}})");
    writeFile(scratch.file("m1.dat"), "0 1\n100 0\n");
    writeFile(scratch.file("m2.dat"), "10 1\n");
    ProgramRun run = cli(scratch, with(convertTo("viaProfile.awv"), {"--settings", scratch.file("m.orvenda")}));
    ASSERT_EQ(run.exitCode, 0) << run.err;
    run =
        cli(scratch, with(convertTo("viaFiles.awv"), {"--data-full-scale", "0.5", "--marker1", scratch.file("m1.dat"),
                                                      "--marker2", scratch.file("m2.dat"), "--marker-mode", "manual"}));
    ASSERT_EQ(run.exitCode, 0) << run.err;
    // Both lists travel with the profile: the marker bits match the run with the two files.
    const std::string files = readFile(scratch.file("viaFiles.awv"));
    const std::string profile = readFile(scratch.file("viaProfile.awv"));
    EXPECT_NE(profile.find("{MARKER1:ON;POS;0;200;200;1}\n{MARKER2:ON;POS;0;200;200;1}\n{MARKERMODE:WFM}\n"),
              std::string::npos);
    EXPECT_TRUE(withoutDateLine(profile) == withoutDateLine(files));
}

TEST_F(CliSettings, RefusedSettingsFilesAreNamedAndNothingIsWritten) {
    writeFile(scratch.file("bad.orvenda"), R"({"version": 1, "colour": "red"})");
    writeFile(scratch.file("newer.orvenda"), R"({"version": 7})");
    writeFile(scratch.file("notes.txt"), "hello\n");
    writeFile(scratch.file("off.awv"), "{IQOUTPUT:OFF}\n{SAMPLINGFREQ:200000000.000000}\n{WAVEDATA:0;}");
    const struct {
        const char* file;
        const char* expected;
    } rows[] = {
        {"bad.orvenda", "bad.orvenda\": colour: unknown key"},
        {"newer.orvenda", "newer.orvenda\": version: 7 is newer"},
        {"notes.txt", "notes.txt\": is neither a settings profile (JSON) nor a waveform file (.awv)"},
        {"off.awv", "off.awv\": line {IQOUTPUT:OFF} (byte 0): the panel has no OFF output path"},
        {"missing.orvenda", "missing.orvenda\": cannot be opened for reading"},
    };
    for (const auto& row : rows) {
        ProgramRun run = cli(scratch, with(convertTo("out.awv"), {"--settings", scratch.file(row.file)}));
        EXPECT_EQ(run.exitCode, 1) << row.file;
        EXPECT_NE(run.err.find(row.expected), std::string::npos) << run.err;
        EXPECT_FALSE(fs::exists(scratch.file("out.awv"))) << row.file;
    }
    ProgramRun run = cli(scratch, {"settings", scratch.file("bad.orvenda"), "-o", scratch.file("x.orvenda")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("bad.orvenda\": is not a waveform file"), std::string::npos) << run.err;
    EXPECT_FALSE(fs::exists(scratch.file("x.orvenda")));
    run = cli(scratch, {"settings", scratch.file("off.awv"), "-o", scratch.file("off.awv")});
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_NE(run.err.find("would overwrite the waveform file"), std::string::npos) << run.err;
}

}  // namespace
}  // namespace orvenda::cli::test
