// The exported C entry points as a caller links them: arguments that are
// NULL or out of range never crash a call and give the documented result.
#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/halvik_api.h"
#include "tests/engine/engine_test_support.h"

namespace {

using halvik::test::readFile;
using halvik::test::ScratchDir;
using halvik::test::writeFile;

TEST(HalvikExport, RefusesMissingSettingsOrOutputPath) {
    ScratchDir dir;
    ConversionSettings settings = halvik::test::quietSettings();
    MarkerPoint points[HALVIK_MARKER_ENTRIES_WALKED] = {};
    EXPECT_EQ(Halvik("", "", 0, 0, points, points, 1, 1.0, nullptr, dir.file("out.awv").c_str()), -1);
    EXPECT_EQ(Halvik("", "", 0, 0, points, points, 1, 1.0, &settings, nullptr), -1);
    EXPECT_TRUE(dir.entries().empty());
}

TEST(HalvikExport, NullPathsAreEmptyPathsAndNullMarkersHaveNoChanges) {
    ScratchDir dir;
    ConversionSettings settings = halvik::test::quietSettings();
    settings.MarkerFlags = HALVIK_MARKER_1_LINE | HALVIK_MARKER_2_LINE;
    std::string out = dir.file("out.awv");
    ASSERT_EQ(Halvik(nullptr, nullptr, 0, 0, nullptr, nullptr, 2, 0.0, &settings, out.c_str()), 0)
        << "no channel has a file, so no path is opened";
    EXPECT_EQ(halvik::test::dataRecordOf(readFile(out)), halvik::test::waveData({8192, 8192, 8192, 8192}));
    EXPECT_EQ(Halvik(nullptr, nullptr, 0, 1, nullptr, nullptr, 2, 0.0, &settings, out.c_str()), -1)
        << "an I file is needed but its path is empty";
}

TEST(HalvikExport, ConvertsAFileThroughTheLibrary) {
    ScratchDir dir;
    writeFile(dir.file("iq.txt"), "0.5,-0.5\n");
    ConversionSettings settings = halvik::test::quietSettings();
    MarkerPoint points[HALVIK_MARKER_ENTRIES_WALKED] = {};
    std::string out = dir.file("out.awv");
    ASSERT_EQ(Halvik(dir.file("iq.txt").c_str(), nullptr, 1, 4, points, points, 1, 1.0, &settings, out.c_str()), 0);
    EXPECT_EQ(halvik::test::dataRecordOf(readFile(out)),
              halvik::test::waveData({halvik::test::expectedCode(0.5, 1.0 + 1e-12, 1.0),
                                      halvik::test::expectedCode(-0.5, 1.0 + 1e-12, 1.0)}));
}

int32_t callMain(bool vb, const float* iq, const int16_t* m1, int32_t count, const char* out) {
    auto entry = vb ? HalvikMainVB : HalvikMain;
    return entry(iq, m1, nullptr, count, out, 1.0, 2.0, -255.0, 0.0, 1e6, 1.0, 0, 64, 1, 0, 1, 2, 3, 4, -255, 0, 0, 0,
                 0, 0, 0, 1, 1, 3, 1, 0);
}

TEST(HalvikMainExport, TheTwinWritesTheSameBytes) {
    ScratchDir dir;
    std::vector<float> iq{0.5f, -1.0f, 0.25f, 0.0f};
    std::vector<int16_t> m1{1, 0};
    std::string a = dir.file("a.awv");
    std::string b = dir.file("b.awv");
    ASSERT_EQ(callMain(false, iq.data(), m1.data(), 2, a.c_str()), 0);
    ASSERT_EQ(callMain(true, iq.data(), m1.data(), 2, b.c_str()), 0);
    EXPECT_EQ(readFile(a), readFile(b));
    EXPECT_EQ(readFile(a).substr(0, readFile(a).find("{WAVEDATA")),
              "{IQFILTER:FLT2_5M}\n{IQGAIN:1.000000;2.000000}\n{MARKERMODE:WFM}\n{MARKER1:ON;POS;1;2;3;4}\n"
              "{STARTTRIGGER:INT;NEG}\n{OUTPUTSEQUENCE:SINGLE;3}\n{SAMPLINGFREQ:1000000.000000}\n"
              "{IQOUTPUT:VAR}\n");
}

TEST(HalvikMainExport, NullArgumentsFailOrCountAsEmpty) {
    ScratchDir dir;
    std::vector<float> iq{0.5f, -1.0f};
    std::string out = dir.file("out.awv");
    EXPECT_EQ(callMain(false, iq.data(), nullptr, 1, nullptr), -1);
    EXPECT_EQ(callMain(false, nullptr, nullptr, 1, out.c_str()), -1);
    EXPECT_TRUE(dir.entries().empty());
    EXPECT_EQ(callMain(false, iq.data(), nullptr, 1, out.c_str()), 0) << "missing marker data is level 0";
    EXPECT_EQ(halvik::test::dataRecordOf(readFile(out)), halvik::test::waveData({12287, 1}));
}

}  // namespace
