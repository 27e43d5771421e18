// Every way a conversion can fail returns -1 and leaves the output path as it
// was; unusual but harmless input converts.
#include <sys/resource.h>
#include <csignal>
#include <functional>
#include <limits>
#include <ostream>
#include <string>

#include <gtest/gtest.h>

#include "tests/engine/conversion_test_support.h"

namespace halvik {
namespace {

using test::Call;
using test::readFile;
using test::ScratchDir;
using test::writeFile;

struct FailureRow {
    const char* name;
    std::function<void(Call&, const ScratchDir&)> set;
};

// Rows are named in test output by their name, not by a dump of their bytes.
void PrintTo(const FailureRow& row, std::ostream* os) { *os << row.name; }

class FailingCall : public ::testing::TestWithParam<FailureRow> {};

// A call that would succeed: ten float pairs.
Call workingCall(const ScratchDir& dir) {
    writeFile(dir.file("iq.bin"), std::string(80, '\0'));
    Call call;
    call.iPath = dir.file("iq.bin");
    call.dataType = 3;
    call.fileKind = 4;
    call.sampleCount = 10;
    call.outPath = dir.file("out.awv");
    return call;
}

TEST_P(FailingCall, ReturnsMinusOneAndLeavesNothingBehind) {
    ScratchDir dir;
    Call call = workingCall(dir);
    ASSERT_EQ(call.run(), 0) << "the unchanged call works";
    std::filesystem::remove(call.outPath);
    GetParam().set(call, dir);
    auto before = dir.entries();
    EXPECT_EQ(call.run(), -1);
    EXPECT_EQ(dir.entries(), before) << "absent stays absent and no temporary file remains";

    writeFile(call.outPath, "previous");
    EXPECT_EQ(call.run(), -1);
    EXPECT_EQ(readFile(call.outPath), "previous");
}

INSTANTIATE_TEST_SUITE_P(
    Rows, FailingCall,
    ::testing::Values(
        FailureRow{"NegativeSampleCount", [](Call& c, const ScratchDir&) { c.sampleCount = -1; }},
        FailureRow{"ByteCountBeyondInt32", [](Call& c, const ScratchDir&) { c.sampleCount = 268435456; }},
        FailureRow{"LargestSampleCount", [](Call& c, const ScratchDir&) {
                       c.sampleCount = std::numeric_limits<int32_t>::max();
                   }},
        FailureRow{"IfWithZeroFs",
                   [](Call& c, const ScratchDir&) {
                       c.settings.IFConvert = 1;
                       c.settings.Fs = 0.0;
                   }},
        FailureRow{"IfWithNegativeFs",
                   [](Call& c, const ScratchDir&) {
                       c.settings.IFConvert = 1;
                       c.settings.Fs = -1e6;
                   }},
        FailureRow{"IfWithInfiniteFs",
                   [](Call& c, const ScratchDir&) {
                       c.settings.IFConvert = 1;
                       c.settings.Fs = std::numeric_limits<double>::infinity();
                   }},
        FailureRow{"IfWithNaNFs",
                   [](Call& c, const ScratchDir&) {
                       c.settings.IFConvert = 1;
                       c.settings.Fs = std::nan("");
                   }},
        FailureRow{"IfWithNaNFrequency",
                   [](Call& c, const ScratchDir&) {
                       c.settings.IFConvert = 1;
                       c.settings.Fs = 1e6;
                       c.settings.IFFreq = std::nan("");
                   }},
        FailureRow{"IfWithInfiniteFrequency",
                   [](Call& c, const ScratchDir&) {
                       c.settings.IFConvert = 1;
                       c.settings.Fs = 1e6;
                       c.settings.IFFreq = -std::numeric_limits<double>::infinity();
                   }},
        // A finite Fs and IFFreq whose carrier phase leaves the double range:
        // the converted values would be NaN and every code full-scale negative.
        FailureRow{"IfWithAPhaseStepBeyondTheDoubleRange",
                   [](Call& c, const ScratchDir&) {
                       c.settings.IFConvert = 1;
                       c.settings.Fs = std::numeric_limits<double>::denorm_min();
                       c.settings.IFFreq = 1e6;
                   }},
        FailureRow{"IfWithALastPhaseBeyondTheDoubleRange",
                   [](Call& c, const ScratchDir&) {
                       c.settings.IFConvert = 1;
                       c.settings.Fs = 1e-7;
                       c.settings.IFFreq = 1e300;  // step 6.3e307, finite; the tenth sample's phase is not
                   }},
        FailureRow{"InputMissing", [](Call& c, const ScratchDir& d) { c.iPath = d.file("absent.bin"); }},
        FailureRow{"InputIsAFolder", [](Call& c, const ScratchDir& d) { c.iPath = d.path().string(); }},
        FailureRow{"InputMissingInScanPass",
                   [](Call& c, const ScratchDir& d) {
                       c.settings.IFConvert = 1;
                       c.settings.Fs = 1e6;
                       c.iPath = d.file("absent.bin");
                   }},
        FailureRow{"EmptyInputPath", [](Call& c, const ScratchDir&) { c.iPath.clear(); }},
        FailureRow{"SingleColumnQMissing",
                   [](Call& c, const ScratchDir& d) {
                       c.fileKind = 3;
                       writeFile(d.file("i.txt"), "1\n");
                       c.iPath = d.file("i.txt");
                       c.qPath = d.file("absent.txt");
                   }},
        FailureRow{"DataTypeZero", [](Call& c, const ScratchDir&) { c.dataType = 0; }},
        FailureRow{"DataTypeFour", [](Call& c, const ScratchDir&) { c.dataType = 4; }},
        FailureRow{"DataTypeFourWhileConverting",
                   [](Call& c, const ScratchDir&) {
                       c.dataType = 4;
                       c.settings.IFConvert = 1;
                       c.settings.Fs = 1e6;
                   }}),
    test::RowName());

TEST(OutputPath, ThatCannotBeCreatedFails) {
    ScratchDir dir;
    Call call = workingCall(dir);
    call.outPath = dir.file("missing/out.awv");
    EXPECT_EQ(call.run(), -1);
    call.outPath = dir.path().string();
    EXPECT_EQ(call.run(), -1);
    call.outPath = "";
    EXPECT_EQ(call.run(), -1);
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"iq.bin"});
}

TEST(OutputPath, AFailingWriteGivesMinusOneAndKeepsTheOldFile) {
    ScratchDir dir;
    Call call = workingCall(dir);
    writeFile(dir.file("iq.bin"), std::string(8 * 300000, '\0'));
    call.sampleCount = 300000;
    writeFile(call.outPath, "previous");
    rlimit previous{};
    getrlimit(RLIMIT_FSIZE, &previous);
    rlimit limited = previous;
    limited.rlim_cur = 1 << 20;  // the output needs 2.4 MB
    auto handler = std::signal(SIGXFSZ, SIG_IGN);
    setrlimit(RLIMIT_FSIZE, &limited);
    int32_t result = call.run();
    setrlimit(RLIMIT_FSIZE, &previous);
    std::signal(SIGXFSZ, handler);
    EXPECT_EQ(result, -1);
    EXPECT_EQ(readFile(call.outPath), "previous");
    EXPECT_EQ(dir.entries().size(), 2u);
}

TEST(UnusualInput, SettingsNotReadForTheChosenModeAreIgnored) {
    ScratchDir dir;
    Call call = workingCall(dir);
    call.settings.IFConvert = 2;  // only exactly 1 converts
    call.settings.Fs = std::nan("");
    call.settings.IFFreq = std::numeric_limits<double>::infinity();
    call.settings.IFMode = 5;
    EXPECT_EQ(call.run(), 0);
    EXPECT_EQ(test::withoutDateLine(readFile(call.outPath)), test::waveData(std::vector<uint32_t>(20, 8192)));
}

TEST(UnusualInput, NonFiniteValuesCountAsZero) {
    ScratchDir dir;
    const float inf = std::numeric_limits<float>::infinity();
    writeFile(dir.file("iq.bin"), test::bytesOf(std::vector<float>{inf, std::nanf(""), -inf, 0.5f}));
    writeFile(dir.file("iq.txt"), "1e999,-1e999\nnan,0.5\n");
    for (auto [path, type] : {std::pair{"iq.bin", 3}, std::pair{"iq.txt", 1}}) {
        Call call;
        call.iPath = dir.file(path);
        call.dataType = type;
        call.fileKind = 4;
        call.sampleCount = 2;
        call.outPath = dir.file("out.awv");
        ASSERT_EQ(call.run(), 0);
        EXPECT_EQ(test::withoutDateLine(readFile(call.outPath)),
                  test::waveData(test::expectedWords({0, 0}, {0, 0.5}, 1.0, 1.0, {}, {}, false)))
            << path;
    }
}

TEST(UnusualInput, ANaNPeakCountsAsNoPeak) {
    ScratchDir dir;
    writeFile(dir.file("iq.txt"), "0.5,-0.5\n");
    Call call;
    call.iPath = dir.file("iq.txt");
    call.dataType = 1;
    call.fileKind = 4;
    call.sampleCount = 1;
    call.peak = std::nan("");
    call.outPath = dir.file("out.awv");
    ASSERT_EQ(call.run(), 0);
    EXPECT_EQ(test::withoutDateLine(readFile(call.outPath)),
              test::waveData(test::expectedWords({0.5}, {-0.5}, 1.0, 1.0, {}, {}, false)));
}

TEST(UnusualInput, ALongLineIsOneSample) {
    ScratchDir dir;
    std::string longTail(300, '7');
    std::string hugeTail(3 << 20, ' ');
    writeFile(dir.file("i.txt"), "0.5 " + longTail + "\n-0.25" + hugeTail + "x\n0.125\n");
    writeFile(dir.file("iq.txt"), "0.5;0.25;" + longTail + "\n-0.25," + hugeTail + "\n0.125,1\n");
    for (auto [path, kind, type] : {std::tuple{"i.txt", 1, 0}, std::tuple{"iq.txt", 4, 1}}) {
        Call call;
        call.iPath = dir.file(path);
        call.fileKind = kind;
        call.dataType = type;
        call.sampleCount = 3;
        call.outPath = dir.file("out.awv");
        ASSERT_EQ(call.run(), 0);
        std::vector<double> q = kind == 4 ? std::vector<double>{0.25, 0, 1} : std::vector<double>{0, 0, 0};
        EXPECT_EQ(test::withoutDateLine(readFile(call.outPath)),
                  test::waveData(test::expectedWords({0.5, -0.25, 0.125}, q, 1.0, 1.0, {}, {}, false)))
            << path;
    }
}

}  // namespace
}  // namespace halvik
