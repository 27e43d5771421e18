// Several inputs converted at once (-j) and conversions on several threads
// (--threads): every file byte for byte the serial single-threaded one, the
// messages the same as a serial run's and in the order of the inputs.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/cli/program_run.h"

namespace orvenda::cli::test {
namespace {

namespace fs = std::filesystem;

ProgramRun cli(const ScratchFolder& scratch, const std::vector<std::string>& args) {
    return runProgram(ORVENDA_CLI_PROGRAM, args, scratch);
}

// Float I/Q pairs of a slow two-tone signal, n samples.
std::string floatPairs(int count, float scale) {
    std::string bytes;
    for (int n = 0; n < count; ++n) {
        float pair[2] = {scale * static_cast<float>((n * 37) % 200 - 100) / 100.0f,
                         scale * static_cast<float>((n * 53) % 180 - 90) / 90.0f};
        bytes.append(reinterpret_cast<const char*>(pair), sizeof pair);
    }
    return bytes;
}

std::vector<std::string> withArgs(std::vector<std::string> base, const std::vector<std::string>& more) {
    base.insert(base.end(), more.begin(), more.end());
    return base;
}

TEST(CliJobs, EveryJobAndThreadCountWritesTheSerialSingleThreadedFiles) {
    ScratchFolder scratch;
    const std::vector<std::string> names = {"a", "b", "c", "d", "e"};
    std::vector<std::string> inputs;
    for (std::size_t k = 0; k < names.size(); ++k) {
        inputs.push_back(scratch.file(names[k] + ".TXD"));
        writeFile(inputs.back(), floatPairs(1023 + 1024 * static_cast<int>(k), 0.5f + 0.1f * static_cast<float>(k)));
    }
    const std::vector<std::string> settings = {"--fs", "100", "--if", "offset", "--carrier", "12.3"};
    auto convert = [&](const std::string& folder, const std::vector<std::string>& speed) {
        std::vector<std::string> args = {"convert"};
        args.insert(args.end(), inputs.begin(), inputs.end());
        return cli(scratch, withArgs(withArgs(withArgs(args, {"-d", scratch.file(folder)}), settings), speed));
    };
    ProgramRun serial = convert("serial", {"-j", "1", "--threads", "1"});
    ASSERT_EQ(serial.exitCode, 0) << serial.err;
    struct Speed {
        const char* folder;
        std::vector<std::string> args;
    };
    for (const Speed& speed : {Speed{"j3", {"-j", "3", "--threads", "1"}}, Speed{"j2t3", {"-j", "2", "--threads", "3"}},
                               Speed{"j1t7", {"-j", "1", "--threads", "7"}}, Speed{"default", {}}}) {
        ProgramRun run = convert(speed.folder, speed.args);
        ASSERT_EQ(run.exitCode, 0) << speed.folder << ": " << run.err;
        EXPECT_EQ(run.err, serial.err) << speed.folder;
        for (const std::string& name : names) {
            const std::string file = readFile(scratch.file(std::string(speed.folder) + "/" + name + ".awv"));
            ASSERT_FALSE(file.empty()) << speed.folder << " " << name;
            EXPECT_TRUE(withoutDateLine(file) == withoutDateLine(readFile(scratch.file("serial/" + name + ".awv"))))
                << speed.folder << " " << name;
        }
    }
}

// Text inputs large enough to be scanned in pieces on several threads: the
// load counts, finds the peaks and names a bad line as on one thread.
TEST(CliJobs, TextInputsLoadTheSameOnEveryThreadCount) {
    ScratchFolder scratch;
    std::string good;
    std::string bad;
    for (int64_t n = 1; n <= 60000; ++n) {
        const std::string line = std::to_string(static_cast<double>(n * 7919 % 1000003) / 1e6) + "," +
                                 std::to_string(-static_cast<double>(n * 104729 % 999983) / 1e6) + "\n";
        good += line;
        bad += n == 59000 ? "0.5,O.25\n" : line;
    }
    writeFile(scratch.file("good.csv"), good);
    writeFile(scratch.file("bad.csv"), bad);
    std::vector<ProgramRun> goodRuns;
    std::vector<ProgramRun> badRuns;
    for (const char* threads : {"1", "3"}) {
        const std::string folder = scratch.file(std::string("t") + threads);
        goodRuns.push_back(cli(scratch, {"convert", scratch.file("good.csv"), "-d", folder, "--threads", threads}));
        badRuns.push_back(cli(scratch, {"convert", scratch.file("bad.csv"), "-d", folder, "--threads", threads}));
    }
    ASSERT_EQ(goodRuns[0].exitCode, 0) << goodRuns[0].err;
    EXPECT_EQ(goodRuns[1].exitCode, 0) << goodRuns[1].err;
    const std::string serial = readFile(scratch.file("t1/good.awv"));
    ASSERT_FALSE(serial.empty());
    EXPECT_TRUE(withoutDateLine(readFile(scratch.file("t3/good.awv"))) == withoutDateLine(serial));
    EXPECT_EQ(badRuns[0].exitCode, 1);
    EXPECT_EQ(badRuns[1].exitCode, 1);
    EXPECT_NE(badRuns[0].err.find("line 59000"), std::string::npos) << badRuns[0].err;
    EXPECT_EQ(badRuns[1].err, badRuns[0].err);
}

TEST(CliJobs, FailedInputsAreReportedAloneInTheOrderOfTheInputs) {
    ScratchFolder scratch;
    writeFile(scratch.file("a.csv"), "0.5,0.25\n-0.5,0\n0,0\n1,1\n");
    writeFile(scratch.file("b.csv"), "0.5,0.25\nhalf,0\n");
    writeFile(scratch.file("c.csv"), "1,0\n0,1\n-1,0\n0,-1\n");
    writeFile(scratch.file("d.csv"), "1,0\nquarter,1\n");
    writeFile(scratch.file("e.csv"), "1,0\n0,1\n");
    std::vector<std::string> args = {"convert"};
    for (const char* name : {"a.csv", "b.csv", "c.csv", "d.csv", "e.csv"}) args.push_back(scratch.file(name));
    ProgramRun serial = cli(scratch, withArgs(args, {"-d", scratch.file("serial"), "-j", "1"}));
    ProgramRun parallel = cli(scratch, withArgs(args, {"-d", scratch.file("parallel"), "-j", "4"}));
    EXPECT_EQ(serial.exitCode, 1);
    EXPECT_EQ(parallel.exitCode, 1);
    EXPECT_EQ(parallel.err, serial.err);
    EXPECT_LT(parallel.err.find("half"), parallel.err.find("quarter")) << parallel.err;
    EXPECT_NE(parallel.err.find("2 of 5 conversions failed"), std::string::npos) << parallel.err;
    for (const char* name : {"a", "c", "e"})
        EXPECT_TRUE(fs::exists(scratch.file("parallel/" + std::string(name) + ".awv")));
    for (const char* name : {"b", "d"})
        EXPECT_FALSE(fs::exists(scratch.file("parallel/" + std::string(name) + ".awv")));
}

TEST(CliJobs, CountsOutsideOneTo256AreUsageErrors) {
    ScratchFolder scratch;
    writeFile(scratch.file("a.csv"), "0.5,0.25\n");
    for (const std::vector<std::string>& bad : std::vector<std::vector<std::string>>{
             {"--threads", "0"}, {"--threads", "257"}, {"-j", "two"}, {"-j", "-1"}, {"--jobs", "3x"}}) {
        ProgramRun run = cli(scratch, withArgs({"convert", scratch.file("a.csv"), "-o", scratch.file("a.awv")}, bad));
        EXPECT_EQ(run.exitCode, 2) << bad[0] << " " << bad[1];
        EXPECT_NE(run.err.find(bad[0] == "-j" ? "--jobs" : bad[0]), std::string::npos) << run.err;
        EXPECT_FALSE(fs::exists(scratch.file("a.awv")));
    }
}

}  // namespace
}  // namespace orvenda::cli::test
