// orvenda-cli as scripts see it: every usage error gives exit code 2 and a
// message naming the option, before any file is touched; help gives 0.
#include <gtest/gtest.h>

#include <ostream>

#include "common/orvenda_version.h"
#include "tests/cli/program_run.h"

namespace orvenda::cli::test {
namespace {

struct UsageCase {
    const char* name;
    std::vector<std::string> args;
    const char* message;  // a part of what stderr says
};

void PrintTo(const UsageCase& row, std::ostream* out) { *out << row.name; }

std::vector<std::string> convertMnt(std::vector<std::string> more) {
    std::vector<std::string> args = {"convert", "in.MNT", "-o", "out.awv"};
    args.insert(args.end(), more.begin(), more.end());
    return args;
}

std::vector<UsageCase> usageCases() {
    return {
        {"NoCommandShowsTheOverview", {}, "Commands:\n  convert"},
        {"NoCommandGivesAnExampleEach", {}, "              orvenda-cli info capture.awv\n"},
        {"UnknownCommand",
         {"frobnicate"},
         "unknown command \"frobnicate\"; the commands are info, convert, settings, export and plot"},
        {"InfoWithoutFile", {"info"}, "files is required"},
        {"UnknownOption", convertMnt({"--bogus"}), "--bogus"},
        {"OptionTwice", convertMnt({"--fs", "100", "--fs", "50"}), "--fs"},
        {"OptionWithoutValue", {"convert", "in.MNT", "-o"}, "-o"},
        {"NoOutput", {"convert", "in.MNT"}, "no output: give --output FILE or --output-dir DIR"},
        {"NoInput", {"convert", "-o", "out.awv"}, "no input"},
        {"EmptyOutput", {"convert", "in.MNT", "-o", ""}, "--output: the path is empty"},
        {"UnknownEnding", {"convert", "in.dat", "-o", "out.awv"}, "--layout: is needed: the layout of \"in.dat\""},
        {"MixedLayouts", {"convert", "a.i", "b.csv", "-d", "out"}, "--layout: the inputs have different layouts"},
        {"UnknownLayout", convertMnt({"--layout", "wav"}),
         "--layout: \"wav\" is not one of i, q, iq, csv, short, float"},
        {"OneOutputManyInputs", {"convert", "a.MNT", "b.MNT", "-o", "x.awv"}, "--output: names one file, but 2 inputs"},
        {"OutputAndFolder", convertMnt({"-d", "out"}), "--output: cannot be combined with --output-dir"},
        {"ChannelFilesAndInputs",
         {"convert", "--i-file", "a.i", "b.MNT", "-o", "x.awv"},
         "--i-file: cannot be combined"},
        {"LayoutWithChannelFiles",
         {"convert", "--q-file", "a.q", "--layout", "q", "-o", "x.awv"},
         "--layout: does not apply"},
        {"OutputOverwritesInput", {"convert", "in.MNT", "-o", "./in.MNT"}, "would overwrite the input \"in.MNT\""},
        {"TwoInputsOneOutput",
         {"convert", "d1/a.MNT", "d2/a.MNT", "-d", "out"},
         "--output-dir: \"d1/a.MNT\" and \"d2/a.MNT\" would both"},
        {"FilterUnknown", convertMnt({"--iq-filter", "10M"}), "--iq-filter: \"10M\" is not one of 2.5M, 50M, through"},
        {"FullScaleAbove", convertMnt({"--data-full-scale", "1.5"}),
         "--data-full-scale: 1.5 is outside the panel's limits 0 to 1"},
        {"FullScaleBelow", convertMnt({"--data-full-scale", "-0.1"}), "--data-full-scale: -0.1 is outside"},
        {"FullScaleText", convertMnt({"--data-full-scale", "full"}), "--data-full-scale: \"full\" is not a number"},
        {"FullScaleJunk", convertMnt({"--data-full-scale", "0.5V"}), "--data-full-scale: \"0.5V\" is not a number"},
        {"OffsetStep", convertMnt({"--iq-offset", "12"}), "--iq-offset: 12 mVp-p is not a multiple of 5 mVp-p"},
        {"OffsetRange", convertMnt({"--iq-offset", "800"}),
         "--iq-offset: 800 mVp-p is outside the panel's limits -750 to 750 mVp-p"},
        {"OffsetQRange", convertMnt({"--iq-offset", "0,-755"}), "--iq-offset: -755 mVp-p is outside"},
        {"OffsetThree", convertMnt({"--iq-offset", "5,5,5"}), "--iq-offset: \"5,5,5\" is not I or I,Q"},
        {"OffsetFraction", convertMnt({"--iq-offset", "10.5"}), "--iq-offset: \"10.5\" is not a whole number"},
        {"OutputPathUnknown", convertMnt({"--iq-output", "both"}), "--iq-output: \"both\" is not one of fix, var"},
        {"LevelWithoutVar", convertMnt({"--iq-output", "fix", "--iq-output-level", "1000"}),
         "--iq-output-level: needs --iq-output var"},
        {"LevelRange", convertMnt({"--iq-output", "var", "--iq-output-level", "150"}),
         "--iq-output-level: 150 mVp-p is outside the panel's limits 200 to 2000 mVp-p"},
        {"LevelStep", convertMnt({"--iq-output", "var", "--iq-output-level", "1000,1234"}),
         "--iq-output-level: 1234 mVp-p is not a multiple of 5"},
        {"SequenceUnknown", convertMnt({"--sequence", "forever"}),
         "--sequence: \"forever\" is not one of continuous, single, gated"},
        {"GatedWithoutLink", convertMnt({"--sequence", "gated"}), "--sequence: gated needs --start-trigger link"},
        {"LoopsWithoutSingle", convertMnt({"--loops", "5"}), "--loops: needs --sequence single"},
        {"LoopsZero", convertMnt({"--sequence", "single", "--loops", "0"}),
         "--loops: 0 is outside the panel's limits 1 to 65536"},
        {"LoopsAbove", convertMnt({"--sequence", "single", "--loops", "65537"}), "--loops: 65537 is outside"},
        {"GateWithoutGated", convertMnt({"--gate", "level"}), "--gate: needs --sequence gated"},
        {"GateUnknown", convertMnt({"--start-trigger", "link", "--sequence", "gated", "--gate", "rising"}),
         "--gate: \"rising\" is not one of edge, level"},
        {"TriggerUnknown", convertMnt({"--start-trigger", "external"}),
         "--start-trigger: \"external\" is not one of internal, link"},
        {"PolarityWithoutLink", convertMnt({"--start-trigger", "internal", "--trigger-polarity", "negative"}),
         "--trigger-polarity: needs --start-trigger link"},
        {"FsAbove", convertMnt({"--fs", "250"}), "--fs: 250 MHz is outside the panel's limits 12.5 to 200 MHz"},
        {"FsBelow", convertMnt({"--fs", "12.4"}), "--fs: 12.4 MHz is outside"},
        {"FsDigits", convertMnt({"--fs", "100.1234567890123"}),
         "--fs: \"100.1234567890123\" has more digits than the panel keeps"},
        {"FsText", convertMnt({"--fs", "fast"}), "--fs: \"fast\" is not a number"},
        {"MarkerModeUnknown", convertMnt({"--marker-mode", "semi"}),
         "--marker-mode: \"semi\" is not one of auto, manual"},
        {"MarkerFileEmptyName", convertMnt({"--marker1", ""}), "--marker1: the file name is empty"},
        {"IfUnknown", convertMnt({"--if", "complex"}), "--if: \"complex\" is not one of real, offset"},
        {"CarrierWithoutIf", convertMnt({"--carrier", "10"}), "--carrier: needs --if"},
        {"CarrierText", convertMnt({"--if", "real", "--carrier", "ten"}), "--carrier: \"ten\" is not a number"},
        {"CarrierHuge", convertMnt({"--if", "real", "--carrier", "1e300"}),
         "--carrier: 1e300 MHz is not a usable frequency"},
        {"DataSizeBelow", convertMnt({"--data-size", "3"}),
         "--data-size: 3 samples is outside the panel's limits 4 to 67108864 samples"},
        {"DataSizeAbove", convertMnt({"--data-size", "67108865"}), "--data-size: 67108865 samples is outside"},
        {"DataSizeFraction", convertMnt({"--data-size", "1000.5"}), "--data-size: \"1000.5\" is not a whole number"},
    };
}

class CliUsage : public ::testing::TestWithParam<UsageCase> {};

TEST_P(CliUsage, ExitsWithTwoAndNamesTheProblem) {
    ScratchFolder scratch;
    std::vector<std::string> args = GetParam().args;
    ProgramRun run = runProgram(ORVENDA_CLI_PROGRAM, args, scratch);
    EXPECT_EQ(run.exitCode, 2) << run.err;
    EXPECT_NE(run.err.find(GetParam().message), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("--help"), std::string::npos) << run.err;
    EXPECT_TRUE(run.out.empty()) << run.out;
}

INSTANTIATE_TEST_SUITE_P(Table, CliUsage, ::testing::ValuesIn(usageCases()),
                         [](const auto& row) { return std::string(row.param.name); });

struct HelpCase {
    const char* name;
    std::vector<std::string> args;
    std::vector<const char*> shown;
};

void PrintTo(const HelpCase& row, std::ostream* out) { *out << row.name; }

class CliHelp : public ::testing::TestWithParam<HelpCase> {};

TEST_P(CliHelp, ExitsWithZeroAndShowsAnExample) {
    ScratchFolder scratch;
    ProgramRun run = runProgram(ORVENDA_CLI_PROGRAM, GetParam().args, scratch);
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.out.find("Examples:"), std::string::npos) << run.out;
    for (const char* text : GetParam().shown) EXPECT_NE(run.out.find(text), std::string::npos) << text;
}

INSTANTIATE_TEST_SUITE_P(
    Table, CliHelp,
    ::testing::Values(HelpCase{"Program", {"--help"}, {"convert", "info", "Exit codes: 0 success"}},
                      HelpCase{
                          "Convert",
                          {"convert", "--help"},
                          {"--fs", "12.5 to 200", "--iq-offset", "-750 to 750", "--data-size", "orvenda-cli convert"}},
                      HelpCase{"Info", {"info", "-h"}, {"orvenda-cli info capture.awv"}}),
    [](const auto& row) { return std::string(row.param.name); });

// The version comes from the build (project VERSION), alone on stdout.
TEST(CliUsage, VersionPrintsTheProgramAndItsVersion) {
    ScratchFolder scratch;
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"--version"}, std::vector<std::string>{"--version", "convert"}}) {
        ProgramRun run = runProgram(ORVENDA_CLI_PROGRAM, args, scratch);
        EXPECT_EQ(run.exitCode, 0) << run.err;
        EXPECT_EQ(run.out, std::string("orvenda-cli ") + orvenda::kVersion + "\n");
        EXPECT_TRUE(run.err.empty()) << run.err;
    }
    EXPECT_STREQ(orvenda::kVersion, "1.4");
}

TEST(CliUsage, NothingIsWrittenForAUsageError) {
    ScratchFolder scratch;
    writeFile(scratch.file("in.MNT"), std::string(16, '\0'));
    ProgramRun run =
        runProgram(ORVENDA_CLI_PROGRAM,
                   {"convert", scratch.file("in.MNT"), "-o", scratch.file("out.awv"), "--fs", "300"}, scratch);
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_FALSE(std::filesystem::exists(scratch.file("out.awv")));
}

}  // namespace
}  // namespace orvenda::cli::test
