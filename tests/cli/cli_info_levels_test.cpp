// "orvenda-cli info" level report: input files as a baseband conversion
// would write them, and waveform files after today's description.
#include <cmath>
#include <cstring>
#include <numbers>
#include <regex>
#include <string>

#include <gtest/gtest.h>

#include "tests/cli/program_run.h"

namespace orvenda::cli::test {
namespace {

ProgramRun cli(const ScratchFolder& scratch, const std::vector<std::string>& args) {
    return runProgram(ORVENDA_CLI_PROGRAM, args, scratch);
}

// A tone of `count` samples, 37 cycles per 1000; Q 0 when real.
template <typename Item>
std::string tonePairs(int count, double amplitude, bool complex) {
    std::string bytes;
    for (int n = 0; n < count; ++n) {
        const double phase = 2 * std::numbers::pi * 37.0 * n / 1000.0;
        Item pair[2] = {static_cast<Item>(amplitude * std::cos(phase)),
                        static_cast<Item>(complex ? amplitude * std::sin(phase) : 0.0)};
        bytes.append(reinterpret_cast<const char*>(pair), sizeof pair);
    }
    return bytes;
}

bool hasLine(const std::string& out, const std::string& pattern) {
    return std::regex_search(out, std::regex("(^|\n)" + pattern + "\n"));
}

TEST(CliInfoLevels, InputFilesReportTheirCodesLevels) {
    ScratchFolder scratch;
    writeFile(scratch.file("complex.bin"), tonePairs<float>(50'000, 1.0, true));
    writeFile(scratch.file("real.MNT"), tonePairs<int16_t>(50'000, 32767.0, false));
    ProgramRun run = cli(scratch, {"info", "--layout", "float", scratch.file("complex.bin")});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(hasLine(run.out, "PAPR  0\\.00 dB")) << run.out;
    EXPECT_TRUE(hasLine(run.out, "Peak  -?0\\.00 dBFS")) << run.out;
    EXPECT_TRUE(hasLine(run.out, "RMS  -0\\.0[0-9] dBFS")) << run.out;
    EXPECT_TRUE(hasLine(run.out, "SQNR  [0-9]+\\.[0-9]{2} dB")) << run.out;
    EXPECT_TRUE(hasLine(run.out, "Samples           50000")) << run.out;

    run = cli(scratch, {"info", scratch.file("real.MNT")});  // the layout from the name
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(hasLine(run.out, "PAPR  3\\.01 dB")) << run.out;
    EXPECT_TRUE(hasLine(run.out, "RMS  -3\\.01 dBFS")) << run.out;
}

TEST(CliInfoLevels, WaveformFilesKeepTheirDescriptionAndAddTheLevels) {
    ScratchFolder scratch;
    writeFile(scratch.file("real.MNT"), tonePairs<int16_t>(4000, 32767.0, false));
    ASSERT_EQ(cli(scratch, {"convert", scratch.file("real.MNT"), "-o", scratch.file("out.awv")}).exitCode, 0);
    ProgramRun run = cli(scratch, {"info", scratch.file("out.awv")});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::size_t marker2 = run.out.find("Marker 2 data");
    const std::size_t papr = run.out.find("\nPAPR  3.01 dB\n");
    ASSERT_NE(marker2, std::string::npos) << run.out;
    ASSERT_NE(papr, std::string::npos) << run.out;
    EXPECT_LT(marker2, papr);
    EXPECT_TRUE(hasLine(run.out, "Peak  -?0\\.00 dBFS")) << run.out;
    EXPECT_EQ(run.out.find("SQNR"), std::string::npos) << "a waveform file has no exact values";
}

TEST(CliInfoLevels, UnknownLayoutIsRefused) {
    ScratchFolder scratch;
    writeFile(scratch.file("data.xyz"), std::string(64, '\0'));
    ProgramRun run = cli(scratch, {"info", scratch.file("data.xyz")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("give --layout"), std::string::npos) << run.err;
    run = cli(scratch, {"info", "--layout", "bogus", scratch.file("data.xyz")});
    EXPECT_NE(run.exitCode, 0);
    EXPECT_NE(run.err.find("--layout"), std::string::npos) << run.err;
}

}  // namespace
}  // namespace orvenda::cli::test
