// orvenda-cli run on real files: several inputs in one run, failures that
// leave the other files alone (exit code 1), the loads' warnings, the
// progress line on a terminal, and "info" on written and on damaged files.
#include <gtest/gtest.h>

#include <ostream>

#include <cstdint>
#include <filesystem>

#include "common/halvik_api.h"
#include "tests/cli/program_run.h"

namespace orvenda::cli::test {
namespace {

namespace fs = std::filesystem;

// 16-bit I/Q pairs: I cycles through 32767, -32767, 0, 100; Q = n.
std::string shortPairs(int count) {
    std::string bytes;
    const int16_t cycle[] = {32767, -32767, 0, 100};
    for (int n = 0; n < count; ++n) {
        int16_t pair[2] = {cycle[n % 4], static_cast<int16_t>(n)};
        bytes.append(reinterpret_cast<const char*>(pair), sizeof pair);
    }
    return bytes;
}

ProgramRun cli(const ScratchFolder& scratch, const std::vector<std::string>& args) {
    return runProgram(ORVENDA_CLI_PROGRAM, args, scratch);
}

// Runs the program on a pseudo terminal, so that stderr is a terminal; what
// it wrote there comes back as `out`.
ProgramRun onTerminal(const ScratchFolder& scratch, const std::string& arguments) {
    return runProgram("/usr/bin/script", {"-qec", std::string(ORVENDA_CLI_PROGRAM) + " " + arguments, "/dev/null"},
                      scratch);
}

TEST(CliRun, SeveralInputsGiveOneFileEachEqualToSingleRuns) {
    ScratchFolder scratch;
    for (const char* name : {"a.MNT", "b.MNT", "c.MNT"})
        writeFile(scratch.file(name), shortPairs(400 + 4 * (name[0] - 'a')));
    ProgramRun batch = cli(scratch, {"convert", scratch.file("a.MNT"), scratch.file("b.MNT"), scratch.file("c.MNT"),
                                     "-d", scratch.file("out/nested"), "--fs", "100", "--iq-filter", "2.5M"});
    ASSERT_EQ(batch.exitCode, 0) << batch.err;
    EXPECT_EQ(batch.out, "");
    EXPECT_EQ(batch.err, "");
    for (const char* stem : {"a", "b", "c"}) {
        const std::string single = scratch.file(std::string(stem) + "-single.awv");
        ProgramRun one = cli(scratch, {"convert", scratch.file(std::string(stem) + ".MNT"), "-o", single, "--fs", "100",
                                       "--iq-filter", "2.5M"});
        ASSERT_EQ(one.exitCode, 0) << one.err;
        const std::string fromBatch = readFile(scratch.file("out/nested/" + std::string(stem) + ".awv"));
        ASSERT_FALSE(fromBatch.empty()) << stem;
        EXPECT_TRUE(withoutDateLine(fromBatch) == withoutDateLine(readFile(single))) << stem;
    }
}

TEST(CliRun, AFailedInputLeavesTheOthersWritten) {
    ScratchFolder scratch;
    writeFile(scratch.file("a.csv"), "0.5,0.25\n-0.5,0\n0,0\n1,1\n");
    writeFile(scratch.file("b.csv"), "0.5,0.25\nhalf,0\n");
    writeFile(scratch.file("c.csv"), "1,0\n0,1\n-1,0\n0,-1\n");
    ProgramRun run = cli(scratch, {"convert", scratch.file("a.csv"), scratch.file("b.csv"), scratch.file("c.csv"), "-d",
                                   scratch.file("out")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(fs::exists(scratch.file("out/a.awv")));
    EXPECT_FALSE(fs::exists(scratch.file("out/b.awv")));
    EXPECT_TRUE(fs::exists(scratch.file("out/c.awv")));
    EXPECT_NE(run.err.find("b.csv"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("half"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("1 of 3 conversions failed"), std::string::npos) << run.err;
}

struct FailureCase {
    const char* name;
    std::vector<std::string> args;  // "@" names a file of the folder
    const char* message;
};

void PrintTo(const FailureCase& row, std::ostream* out) { *out << row.name; }

class CliFailure : public ::testing::TestWithParam<FailureCase> {};

TEST_P(CliFailure, ExitsWithOneAndWritesNothing) {
    ScratchFolder scratch;
    writeFile(scratch.file("in.MNT"), shortPairs(8));
    writeFile(scratch.file("bad.dat"), "0 1\n10\n");
    std::vector<std::string> args;
    for (const std::string& arg : GetParam().args) args.push_back(arg[0] == '@' ? scratch.file(arg.substr(1)) : arg);
    ProgramRun run = cli(scratch, args);
    EXPECT_EQ(run.exitCode, 1) << run.err;
    EXPECT_NE(run.err.find(GetParam().message), std::string::npos) << run.err;
    EXPECT_FALSE(fs::exists(scratch.file("out.awv")));
}

INSTANTIATE_TEST_SUITE_P(
    Table, CliFailure,
    ::testing::Values(
        FailureCase{"MissingInput", {"convert", "@missing.MNT", "-o", "@out.awv"}, "missing.MNT"},
        FailureCase{
            "MissingMarkerFile", {"convert", "@in.MNT", "-o", "@out.awv", "--marker1", "@none.dat"}, "none.dat"},
        FailureCase{
            "MarkerFileWithoutValue", {"convert", "@in.MNT", "-o", "@out.awv", "--marker2", "@bad.dat"}, "bad.dat"},
        FailureCase{"MissingOutputFolder", {"convert", "@in.MNT", "-o", "@no/such/out.awv"}, "does not exist"},
        FailureCase{"OutputIsAFolder", {"convert", "@in.MNT", "-o", "@"}, "is a folder"}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(CliRun, WithoutTheConversionLibraryNothingIsWritten) {
    ScratchFolder scratch;
    const std::string lonely = scratch.file("orvenda-cli");
    fs::copy_file(ORVENDA_CLI_PROGRAM, lonely);
    writeFile(scratch.file("in.MNT"), shortPairs(8));
    ProgramRun run = runProgram(lonely, {"convert", scratch.file("in.MNT"), "-o", scratch.file("out.awv")}, scratch);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("libHalvikLib.so could not be loaded"), std::string::npos) << run.err;
    EXPECT_FALSE(fs::exists(scratch.file("out.awv")));
}

TEST(CliRun, LoadWarningsAreShownAndTheFileIsWritten) {
    ScratchFolder scratch;
    writeFile(scratch.file("seven.q"), "1\n2\n3\n4\n5\n6\n7\n");
    writeFile(scratch.file("many.dat"), [] {
        std::string text;
        for (int n = 0; n < 120; ++n) text += std::to_string(2 * n) + "\t" + std::to_string(n % 2) + "\r\n";
        return text;
    }());
    ProgramRun run = cli(scratch, {"convert", scratch.file("seven.q"), "-o", scratch.file("out.awv"), "--marker1",
                                   scratch.file("many.dat")});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.err.find("warning: " + scratch.file("seven.q") +
                           ": Data Size is not nultiple of 4. (7 samples, 8 converted)"),
              std::string::npos)
        << run.err;
    EXPECT_NE(run.err.find("only the first " + std::to_string(HALVIK_MARKER_ENTRIES_WALKED) +
                           " of 120 change points reach the waveform"),
              std::string::npos)
        << run.err;
    EXPECT_NE(readFile(scratch.file("out.awv")).find("{WAVEDATA:64;"), std::string::npos);
}

TEST(CliRun, AnEmptyInputGivesAnEmptySampleBlock) {
    ScratchFolder scratch;
    writeFile(scratch.file("empty.TXD"), "");
    ProgramRun run = cli(scratch, {"convert", scratch.file("empty.TXD"), "-o", scratch.file("out.awv")});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_NE(run.err.find("no samples"), std::string::npos) << run.err;
    const std::string file = readFile(scratch.file("out.awv"));
    EXPECT_EQ(file.substr(file.size() - 13), "{WAVEDATA:0;}");
}

TEST(CliRun, ProgressOnATerminalOnlyWithoutQuiet) {
    ScratchFolder scratch;
    if (!fs::exists("/usr/bin/script")) GTEST_SKIP() << "no pseudo terminal helper";
    writeFile(scratch.file("a.MNT"), shortPairs(64));
    writeFile(scratch.file("b.MNT"), shortPairs(64));
    const std::string inputs = scratch.file("a.MNT") + " " + scratch.file("b.MNT") + " -d " + scratch.file("out");
    ProgramRun shown = onTerminal(scratch, "convert " + inputs);
    EXPECT_EQ(shown.exitCode, 0);
    EXPECT_NE(shown.out.find("[1/2] a.MNT"), std::string::npos) << shown.out;
    EXPECT_NE(shown.out.find("[2/2] b.MNT"), std::string::npos) << shown.out;
    ProgramRun quiet = onTerminal(scratch, "convert --quiet " + inputs);
    EXPECT_EQ(quiet.exitCode, 0);
    EXPECT_EQ(quiet.out, "");
    ProgramRun single = onTerminal(scratch, "convert " + scratch.file("a.MNT") + " -o " + scratch.file("a.awv"));
    EXPECT_NE(single.out.find("Writing data..."), std::string::npos) << single.out;
    // Without a terminal nothing at all.
    ProgramRun piped = cli(scratch, {"convert", scratch.file("a.MNT"), "-o", scratch.file("a.awv")});
    EXPECT_EQ(piped.err, "");
}

TEST(CliInfo, DescribesAWrittenFile) {
    ScratchFolder scratch;
    writeFile(scratch.file("in.MNT"), shortPairs(1000));
    writeFile(scratch.file("m.dat"), "0\t1\r\n250\t0\r\n");
    ASSERT_EQ(cli(scratch, {"convert", scratch.file("in.MNT"), "-o", scratch.file("out.awv"), "--fs", "50",
                            "--sequence", "single", "--loops", "3", "--marker1", scratch.file("m.dat")})
                  .exitCode,
              0);
    ProgramRun info = cli(scratch, {"info", scratch.file("out.awv")});
    ASSERT_EQ(info.exitCode, 0) << info.err;
    // I: 250 each of 32767 and -32767 at a peak of 32767; Q: 0..999 stays inside.
    for (const char* line :
         {"Sampling freq     50 MHz\n", "Start trigger     INT, POS\n", "Output sequence   SINGL, 3 loops\n",
          "Marker 1          ON POS 0;500;500;1\n", "Marker mode       WFM\n", "I/Q filter        -\n",
          "Samples           1000\n", "Word A (I) codes  1 .. 16383, full scale: 250 at 1, 250 at 16383\n",
          "Marker 1 data     high in 250 samples (25.00 %), 2 changes: 0:1 250:0\n",
          "Marker 2 data     high in 0 samples (0.00 %), no changes\n"})
        EXPECT_NE(info.out.find(line), std::string::npos) << line << "\nin:\n" << info.out;
    EXPECT_NE(info.out.find("Word B (Q) codes  8192 .. 8441, full scale: 0 at 1, 0 at 16383\n"), std::string::npos)
        << info.out;
}

TEST(CliInfo, DamagedFilesAreRejectedWithTheirOffset) {
    ScratchFolder scratch;
    writeFile(scratch.file("in.MNT"), shortPairs(16));
    ASSERT_EQ(cli(scratch, {"convert", scratch.file("in.MNT"), "-o", scratch.file("good.awv")}).exitCode, 0);
    const std::string good = readFile(scratch.file("good.awv"));
    const std::size_t block = good.find("{WAVEDATA:128;") + 14;
    writeFile(scratch.file("truncated.awv"), good.substr(0, good.size() - 5));
    writeFile(scratch.file("padded.awv"), good + "\r\n");
    std::string corrupted = good;
    corrupted[good.find("SAMPLINGFREQ")] = 's';
    writeFile(scratch.file("corrupted.awv"), corrupted);

    ProgramRun run =
        cli(scratch, {"info", scratch.file("truncated.awv"), scratch.file("good.awv"), scratch.file("padded.awv"),
                      scratch.file("corrupted.awv"), scratch.file("none.awv")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.out.find("Samples           16\n"), std::string::npos) << run.out;
    EXPECT_NE(run.err.find("truncated.awv: byte " + std::to_string(good.size() - 5) +
                           ": the file ends inside the sample block"),
              std::string::npos)
        << run.err;
    EXPECT_NE(run.err.find("padded.awv: byte " + std::to_string(block + 129) + ": 2 byte(s) follow the closing '}'"),
              std::string::npos)
        << run.err;
    EXPECT_NE(
        run.err.find("corrupted.awv: byte " + std::to_string(good.find("SAMPLINGFREQ")) + ": expected a header key"),
        std::string::npos)
        << run.err;
    EXPECT_NE(run.err.find("cannot open"), std::string::npos) << run.err;
}

}  // namespace
}  // namespace orvenda::cli::test
