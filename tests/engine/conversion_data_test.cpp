// The sample block of a conversion, byte for byte: every input layout, block
// boundaries, markers and channel inversion.
#include <algorithm>
#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "tests/engine/conversion_test_support.h"

namespace halvik {
namespace {

using test::Call;
using test::expectedWords;
using test::readFile;
using test::ScratchDir;
using test::waveData;
using test::writeFile;

// The file after its DATE line, given settings that write no other line.
std::string dataRecordOf(const Call& call) { return test::withoutDateLine(readFile(call.outPath)); }

struct LayoutRow {
    const char* name;
    int32_t dataType;
    int32_t fileKind;
    std::string iFile;
    std::string qFile;
    int32_t sampleCount;
    double peak;
    std::vector<double> i;  // the values the engine must read
    std::vector<double> q;
};

// Rows are named in test output by their name, not by a dump of their bytes.
void PrintTo(const LayoutRow& row, std::ostream* os) { *os << row.name; }

class InputLayout : public ::testing::TestWithParam<LayoutRow> {};

TEST_P(InputLayout, ConvertsToExactBytes) {
    const LayoutRow& row = GetParam();
    ScratchDir dir;
    writeFile(dir.file("i.in"), row.iFile);
    writeFile(dir.file("q.in"), row.qFile);
    Call call;
    call.iPath = dir.file("i.in");
    call.qPath = dir.file("q.in");
    call.dataType = row.dataType;
    call.fileKind = row.fileKind;
    call.sampleCount = row.sampleCount;
    call.peak = row.peak;
    call.outPath = dir.file("out.awv");
    ASSERT_EQ(call.run(), 0);
    double divisor = row.peak == 0.0 ? 1.0 : row.peak;  // 0.0 stands for 1.0
    EXPECT_EQ(dataRecordOf(call), waveData(expectedWords(row.i, row.q, divisor, 1.0, {}, {}, false)));
}

std::string int16Pairs(const std::vector<int16_t>& items) { return test::bytesOf(items); }
std::string floatPairs(const std::vector<float>& items) { return test::bytesOf(items); }

INSTANTIATE_TEST_SUITE_P(
    Rows, InputLayout,
    ::testing::Values(
        LayoutRow{"TwoColumnText", 1, 4, "0.5;-0.5\n1 , 0.25\n,,-1,,1\n", "", 3, 1.0, {0.5, 1, -1}, {-0.5, 0.25, 1}},
        LayoutRow{"TwoColumnCsvShortFile", 1, 4, "0.5,0.5\n", "", 3, 1.0, {0.5, 0, 0}, {0.5, 0, 0}},
        LayoutRow{
            "Int16Pairs", 2, 4, int16Pairs({32767, -32768, 0, 16384}), "", 2, 32768.0, {32767, 0}, {-32768, 16384}},
        LayoutRow{"Int16PairsOddItemDropped",
                  2,
                  4,
                  int16Pairs({100, 200, 300, 400, 500}),
                  "",
                  3,
                  1000.0,
                  {100, 300, 0},
                  {200, 400, 0}},
        LayoutRow{"FloatPairs", 3, 4, floatPairs({0.75f, -0.125f, -1.0f, 1.0f}), "", 2, 1.0, {0.75, -1}, {-0.125, 1}},
        LayoutRow{"SingleColumnI", 0, 1, "0.5\n-0.5\n0.25\n", "9\n9\n9\n", 4, 1.0, {0.5, -0.5, 0.25, 0}, {0, 0, 0, 0}},
        LayoutRow{"SingleColumnQ", 0, 2, "9\n", "-1\n\n1\n", 3, 1.0, {0, 0, 0}, {-1, 0, 1}},
        LayoutRow{"SingleColumnIAndQ", 0, 3, "1\n2\n3\n", "-3\n", 3, 4.0, {1, 2, 3}, {-3, 0, 0}},
        LayoutRow{"NoFileAllZero", 0, 0, "", "", 2, 1.0, {0, 0}, {0, 0}},
        LayoutRow{"KindFourNeverReadsQPath", 3, 4, floatPairs({0.5f, 0.25f}), "9\n", 1, 1.0, {0.5}, {0.25}},
        LayoutRow{"KindFiveIsASingleColumnI", 3, 5, "0.5\n", "9\n", 1, 1.0, {0.5}, {0}},
        LayoutRow{"PeakZeroMeansOne", 3, 4, floatPairs({0.5f, -0.5f}), "", 1, 0.0, {0.5}, {-0.5}},
        LayoutRow{"ReadsNoMoreThanAsked", 1, 4, "1,1\n-1,-1\n", "", 1, 1.0, {1}, {1}}),
    test::RowName());

// Values equal to one block's divisor and to the previous block's: a divisor
// one block early or late changes the codes.
TEST(BlockBoundaries, DivisorGrowsOnceBeforeEachBlockOf1024) {
    for (int32_t count : {1023, 1024, 1025, 2049}) {
        SCOPED_TRACE(count);
        std::vector<double> divisors{1.0};
        for (int b = 0; b < 4; ++b) divisors.push_back(divisors.back() + 1e-12);
        std::vector<double> i, q;
        for (int32_t k = 0; k < count; ++k) {
            std::size_t block = static_cast<std::size_t>(k / 1024);
            i.push_back(k % 2 == 0 ? divisors[block + 1] : divisors[block]);
            q.push_back(k % 2 == 0 ? -divisors[block] : -divisors[block + 1]);
        }
        ScratchDir dir;
        writeFile(dir.file("iq.txt"), test::twoColumnText(i, q));
        Call call;
        call.iPath = dir.file("iq.txt");
        call.dataType = 1;
        call.fileKind = 4;
        call.sampleCount = count;
        call.outPath = dir.file("out.awv");
        ASSERT_EQ(call.run(), 0);
        auto words = expectedWords(i, q, 1.0, 1.0, {}, {}, false);
        EXPECT_EQ(words[0], 16383u);
        EXPECT_EQ(words[2], 16382u);
        EXPECT_EQ(dataRecordOf(call), waveData(words));
        EXPECT_EQ(dataRecordOf(call).size(), std::string("{WAVEDATA:;}").size() + std::to_string(8 * count).size() +
                                                 8 * static_cast<std::size_t>(count));
    }
}

TEST(Scaling, PeakValueAndGainScaleEveryCode) {
    ScratchDir dir;
    writeFile(dir.file("iq.bin"), test::bytesOf(std::vector<int16_t>{32767, -32767, 1000, -1000}));
    Call call;
    call.iPath = dir.file("iq.bin");
    call.dataType = 2;
    call.fileKind = 4;
    call.sampleCount = 2;
    call.peak = 32767.0;
    call.settings.AWGGain = 0.5;
    call.outPath = dir.file("out.awv");
    ASSERT_EQ(call.run(), 0);
    EXPECT_EQ(dataRecordOf(call), waveData(expectedWords({32767, 1000}, {-32767, -1000}, 32767.0, 0.5, {}, {}, false)));
    call.settings.AWGGain = 1.0;
    ASSERT_EQ(call.run(), 0);
    std::string record = dataRecordOf(call);
    EXPECT_EQ(record.substr(std::string("{WAVEDATA:16;").size(), 4), test::wordBytes({16383}))
        << "from 16384 up the divisor no longer grows";
}

TEST(Scaling, ValuesBeyondThePeakClipInsteadOfSpillingIntoMarkers) {
    ScratchDir dir;
    writeFile(dir.file("iq.txt"), "3,-3\n1e6,-1e6\n");
    Call call;
    call.iPath = dir.file("iq.txt");
    call.dataType = 1;
    call.fileKind = 4;
    call.sampleCount = 2;
    call.outPath = dir.file("out.awv");
    ASSERT_EQ(call.run(), 0);
    EXPECT_EQ(dataRecordOf(call), waveData({16383, 1, 16383, 1}));
}

struct MarkerCase {
    std::vector<MarkerPoint> points1;
    std::vector<MarkerPoint> points2;
    int32_t flags;
    int32_t count;
};

// Runs float-pair zeros through the engine and returns the marker bits of
// each sample's word A (bit 0: marker 1, bit 1: marker 2).
std::vector<int> markerBits(const MarkerCase& c, int32_t inverted = 0) {
    ScratchDir dir;
    writeFile(dir.file("iq.bin"), std::string(8 * static_cast<std::size_t>(c.count), '\0'));
    Call call;
    call.iPath = dir.file("iq.bin");
    call.dataType = 3;
    call.fileKind = 4;
    call.sampleCount = c.count;
    call.settings.MarkerFlags = c.flags;
    call.settings.IQInv = inverted;
    std::copy(c.points1.begin(), c.points1.end(), call.marker1.begin());
    std::copy(c.points2.begin(), c.points2.end(), call.marker2.begin());
    call.outPath = dir.file("out.awv");
    EXPECT_EQ(call.run(), 0);
    std::string record = readFile(call.outPath);
    record = record.substr(record.find("{WAVEDATA:"));
    record = record.substr(record.find(';') + 1);
    std::vector<int> bits;
    for (int32_t k = 0; k < c.count; ++k) {
        uint32_t a = 0, b = 0;
        std::memcpy(&a, record.data() + 8 * k, 4);
        std::memcpy(&b, record.data() + 8 * k + 4, 4);
        EXPECT_EQ(a & 0x3fffu, 8192u);
        EXPECT_EQ(b, 8192u) << "word B never carries a marker";
        bits.push_back(static_cast<int>(a >> 14));
    }
    return bits;
}

std::vector<int> levels(int32_t count, std::vector<std::pair<int32_t, int>> ones, int bit = 1) {
    std::vector<int> out(static_cast<std::size_t>(count), 0);
    for (auto [from, to] : ones) {
        for (int32_t k = from; k < to; ++k) out[static_cast<std::size_t>(k)] |= bit;
    }
    return out;
}

TEST(Markers, ChangePointsSetTheLevelFromTheirPositionOn) {
    EXPECT_EQ(markerBits({{{0, 1}, {10, 0}}, {}, HALVIK_MARKER_1_LINE, 20}), levels(20, {{0, 10}}));
}

TEST(Markers, OnlyBitZeroOfTheValueCounts) {
    EXPECT_EQ(markerBits({{{2, 3}, {4, 2}, {6, 1}}, {}, HALVIK_MARKER_1_LINE, 8}), levels(8, {{2, 4}, {6, 8}}));
}

TEST(Markers, AnOutOfOrderPointStopsAllLaterChanges) {
    EXPECT_EQ(markerBits({{{5, 1}, {3, 0}, {8, 0}}, {}, HALVIK_MARKER_1_LINE, 12}), levels(12, {{5, 12}}));
}

TEST(Markers, AtMost99PointsAreConsulted) {
    std::vector<MarkerPoint> points;
    for (int32_t k = 0; k < 120; ++k) points.push_back({k, (k % 2 == 0) ? 1 : 0});
    // Point 98 (level 1 at sample 98) is the last one followed.
    std::vector<int> expected(130, 0);
    for (int32_t k = 0; k < 130; ++k) expected[static_cast<std::size_t>(k)] = (k >= 98) ? 1 : (k % 2 == 0 ? 1 : 0);
    EXPECT_EQ(markerBits({points, {}, HALVIK_MARKER_1_LINE, 130}), expected);
}

TEST(Markers, MarkerTwoAcrossBlockBoundariesInBit15) {
    MarkerCase c{{}, {{1023, 1}, {1024, 0}, {1500, 1}, {2048, 0}}, HALVIK_MARKER_2_LINE, 2049};
    EXPECT_EQ(markerBits(c), levels(2049, {{1023, 1024}, {1500, 2048}}, 2));
}

TEST(Markers, BothMarkersTogether) {
    MarkerCase c{{{1, 1}, {3, 0}}, {{2, 1}}, HALVIK_MARKER_1_LINE | HALVIK_MARKER_2_LINE, 5};
    EXPECT_EQ(markerBits(c), (std::vector<int>{0, 1, 3, 2, 2}));
}

TEST(Markers, DisabledMarkersLeaveNoBitsEvenWithLinesWritten) {
    MarkerCase c{{{0, 1}}, {{0, 1}}, HALVIK_MARKER_BOTH_LINES | HALVIK_MARKER_MODE_WFM, 3};
    EXPECT_EQ(markerBits(c), (std::vector<int>{0, 0, 0}));
    c.flags = HALVIK_MARKER_2_LINE;
    EXPECT_EQ(markerBits(c), (std::vector<int>{2, 2, 2})) << "only marker 2 enabled";
}

TEST(Markers, StayInWordAWhenTheChannelsAreInverted) {
    EXPECT_EQ(markerBits({{{1, 1}}, {}, HALVIK_MARKER_1_LINE, 3}, 1), (std::vector<int>{0, 1, 1}));
}

TEST(IQInversion, SwapsTheChannelsOfTheTwoWords) {
    ScratchDir dir;
    writeFile(dir.file("iq.bin"), test::bytesOf(std::vector<float>{1.0f, -0.5f, 0.25f, -1.0f}));
    Call call;
    call.iPath = dir.file("iq.bin");
    call.dataType = 3;
    call.fileKind = 4;
    call.sampleCount = 2;
    call.settings.IQInv = 7;
    call.settings.MarkerFlags = HALVIK_MARKER_1_LINE;
    call.marker1[0] = {0, 1};
    call.outPath = dir.file("out.awv");
    ASSERT_EQ(call.run(), 0);
    std::string record = test::dataRecordOf(readFile(call.outPath));
    EXPECT_EQ(record, waveData(expectedWords({1.0, 0.25}, {-0.5, -1.0}, 1.0, 1.0, {1, 1}, {}, true)));
    EXPECT_EQ(record.substr(13, 4), test::wordBytes({test::expectedCode(-0.5, 1.0 + 1e-12, 1.0) + 16384}));
}

}  // namespace
}  // namespace halvik

namespace halvik {
namespace {

TEST(BundledExample, ToneConvertsToFullScale) {
    std::string tone = test::readFile(std::string(ORVENDA_EXAMPLES_DIR) + "/tone.dat");
    ASSERT_EQ(std::count(tone.begin(), tone.end(), '\n'), 4096);
    test::ScratchDir dir;
    test::Call call;
    call.iPath = std::string(ORVENDA_EXAMPLES_DIR) + "/tone.dat";
    call.dataType = 1;
    call.fileKind = 4;
    call.sampleCount = 4096;
    call.peak = 0.8;
    call.outPath = dir.file("tone.awv");
    ASSERT_EQ(call.run(), 0);
    std::string record = test::dataRecordOf(test::readFile(call.outPath));
    ASSERT_EQ(record.size(), std::string("{WAVEDATA:32768;}").size() + 32768);
    EXPECT_EQ(record.substr(16, 8), test::wordBytes({test::expectedCode(0.8, 0.8 + 1e-12, 1.0), 8192}));
}

}  // namespace
}  // namespace halvik
