// Number printing and sample codes of the waveform file.
#include <cstdint>
#include <ostream>
#include <string>

#include <gtest/gtest.h>

#include "tests/engine/engine_test_support.h"

#include "engine/awv_text.h"
#include "engine/sample_codes.h"

namespace halvik {
namespace {

struct PrintRow {
    double value;
    const char* e;
    const char* f;
};

void PrintTo(const PrintRow& row, std::ostream* os) { *os << row.f; }

class NumberPrinting : public ::testing::TestWithParam<PrintRow> {};

TEST_P(NumberPrinting, MatchesTheFileFormats) {
    EXPECT_EQ(formatE(GetParam().value), GetParam().e);
    EXPECT_EQ(formatF(GetParam().value), GetParam().f);
}

INSTANTIATE_TEST_SUITE_P(Rows, NumberPrinting,
                         ::testing::Values(PrintRow{1.0, "1.000000E+000", "1.000000"},
                                           PrintRow{0.25, "2.500000E-001", "0.250000"},
                                           PrintRow{-1.5, "-1.500000E+000", "-1.500000"},
                                           PrintRow{0.0, "0.000000E+000", "0.000000"},
                                           PrintRow{-0.001, "-1.000000E-003", "-0.001000"},
                                           PrintRow{2147483.647, "2.147484E+006", "2147483.647000"},
                                           PrintRow{1e-300, "1.000000E-300", "0.000000"},
                                           PrintRow{200e6, "2.000000E+008", "200000000.000000"}));

TEST(NumberPrinting, IntegersAndWaveDataOpening) {
    EXPECT_EQ(formatD(-2147483648LL), "-2147483648");
    EXPECT_EQ(waveDataOpening(32), "{WAVEDATA:32;");
    EXPECT_EQ(waveDataOpening(0), "{WAVEDATA:0;");
}

struct CodeRow {
    const char* name;
    double value;
    double peak;
    double gain;
    uint32_t code;
};

// Rows are named in test output by their name, not by a dump of their bytes.
void PrintTo(const CodeRow& row, std::ostream* os) { *os << row.name; }

class SampleCode : public ::testing::TestWithParam<CodeRow> {};

TEST_P(SampleCode, TruncatesAndSaturates) {
    const CodeRow& row = GetParam();
    EXPECT_EQ(sampleCode(row.value, row.peak, row.gain), row.code);
}

INSTANTIATE_TEST_SUITE_P(Rows, SampleCode,
                         ::testing::Values(CodeRow{"Zero", 0.0, 1.0, 1.0, 8192},
                                           CodeRow{"PositiveFullScale", 1.0, 1.0, 1.0, 16383},
                                           CodeRow{"NegativeFullScale", -1.0, 1.0, 1.0, 1},
                                           CodeRow{"SlightlyAbovePeakDivisor", 1.0, 1.000000000001, 1.0, 16382},
                                           CodeRow{"HalfGainPositive", 2.0, 2.0, 0.5, 12287},
                                           CodeRow{"HalfGainNegative", -2.0, 2.0, 0.5, 4096},
                                           CodeRow{"TruncatesTowardZeroAboveZero", 0.5, 1.0, 1.0, 12287},
                                           CodeRow{"BeyondPeakClipsHigh", 3.0, 1.0, 1.0, 16383},
                                           CodeRow{"BeyondPeakClipsLow", -3.0, 1.0, 1.0, 1},
                                           CodeRow{"FarBeyondPeakClipsLow", -1e300, 1.0, 1.0, 1},
                                           CodeRow{"ZeroGain", 1.0, 1.0, 0.0, 8192}),
                         test::RowName());

TEST(EncodeBlock, PlacesMarkersInWordAOnlyAndMasksThem) {
    const double a[] = {1.0, -1.0, 0.0, 1.0};
    const double b[] = {0.0, 1.0, -1.0, 0.0};
    const int32_t level1[] = {1, 0, 3, 2};
    const int32_t level2[] = {1, 1, 0, 1};
    uint32_t words[8] = {};
    encodeBlock(a, b, level1, level2, 1, 1, 1.0, 1.0, words, 4);
    EXPECT_EQ(words[0], 65535u);
    EXPECT_EQ(words[1], 8192u);
    EXPECT_EQ(words[2], 1u + 32768u);
    EXPECT_EQ(words[3], 16383u);
    EXPECT_EQ(words[4], 8192u + 16384u) << "only bit 0 of a level counts";
    EXPECT_EQ(words[5], 1u);
    EXPECT_EQ(words[6], 16383u + 32768u);
    encodeBlock(a, b, level1, level2, 0, 1, 1.0, 1.0, words, 1);
    EXPECT_EQ(words[0], 16383u + 32768u) << "a zero mask keeps marker 1 out";
}

}  // namespace
}  // namespace halvik
