// The record limit and the progress reports, through a lowered limit and a
// shorter report interval.
#include <gtest/gtest.h>
#include <ostream>

#include <limits>
#include <string>
#include <vector>

#include "core/input/scanner.h"
#include "tests/input/sample_bytes.h"

namespace orvenda::input {
namespace {
const char* layoutWord(InputLayout layout);
}  // namespace

// Test output names a layout in words; found by argument-dependent lookup.
static void PrintTo(InputLayout layout, std::ostream* os) { *os << layoutWord(layout); }

namespace {

using testing::floatPairs;
using testing::shortPairs;

// Ten records whose sixth holds the largest magnitudes (60 and 61); record
// k holds I = k*10 and Q = -(k*10 + 1), except the sixth.
std::string tenRecords(InputLayout layout) {
    std::string bytes;
    for (int k = 1; k <= 10; ++k) {
        const int i = k == 6 ? 600 : k * 10;
        const int q = k == 6 ? -601 : -(k * 10 + 1);
        switch (layout) {
        case InputLayout::SingleChannelText: bytes += std::to_string(i) + "\n"; break;
        case InputLayout::FreeFormatIQText: bytes += std::to_string(i) + " " + std::to_string(q) + "\n"; break;
        case InputLayout::CsvIQText: bytes += std::to_string(i) + "," + std::to_string(q) + "\n"; break;
        case InputLayout::BinaryShortPairs:
            bytes += shortPairs({{static_cast<int16_t>(i), static_cast<int16_t>(q)}});
            break;
        case InputLayout::BinaryFloatPairs:
            bytes += floatPairs({{static_cast<float>(i), static_cast<float>(q)}});
            break;
        }
    }
    return bytes;
}

double peakQOf(InputLayout layout, double q) { return holdsIAndQ(layout) ? q : 0.0; }

class RecordLimit : public ::testing::TestWithParam<InputLayout> {};

TEST_P(RecordLimit, RecordBeyondLimitEntersPeaksButIsNotCounted) {
    const InputLayout layout = GetParam();
    for (std::size_t chunk : {kDefaultChunkBytes, std::size_t{4}, std::size_t{9}}) {
        SCOPED_TRACE("chunk " + std::to_string(chunk));
        ScanOptions options;
        options.recordLimit = 5;
        options.chunkBytes = chunk;
        const ScanOutcome outcome = scanBytes(tenRecords(layout), layout, options);
        ASSERT_TRUE(outcome.ok());
        EXPECT_EQ(outcome.result.count, 5);
        EXPECT_TRUE(outcome.result.limitExceeded);
        // The sixth record was read before the count stopped.
        EXPECT_EQ(outcome.result.peakI, 600.0);
        EXPECT_EQ(outcome.result.peakQ, peakQOf(layout, 601.0));
    }
}

TEST_P(RecordLimit, LimitBelowTheSixthLeavesItOut) {
    const InputLayout layout = GetParam();
    ScanOptions options;
    options.recordLimit = 4;
    const ScanOutcome outcome = scanBytes(tenRecords(layout), layout, options);
    ASSERT_TRUE(outcome.ok());
    EXPECT_EQ(outcome.result.count, 4);
    EXPECT_TRUE(outcome.result.limitExceeded);
    EXPECT_EQ(outcome.result.peakI, 50.0);
    EXPECT_EQ(outcome.result.peakQ, peakQOf(layout, 51.0));
}

TEST_P(RecordLimit, FileExactlyAtLimitIsNotOver) {
    const InputLayout layout = GetParam();
    ScanOptions options;
    options.recordLimit = 10;
    const ScanOutcome outcome = scanBytes(tenRecords(layout), layout, options);
    ASSERT_TRUE(outcome.ok());
    EXPECT_EQ(outcome.result.count, 10);
    EXPECT_FALSE(outcome.result.limitExceeded);
}

TEST_P(RecordLimit, ProgressAtEveryIntervalUpToTheLimit) {
    const InputLayout layout = GetParam();
    struct Row {
        int64_t limit;
        std::vector<int64_t> reports;
    };
    for (const Row& row : {Row{100, {3, 6, 9}}, Row{6, {3, 6}}, Row{5, {3}}}) {
        for (std::size_t chunk : {kDefaultChunkBytes, std::size_t{5}}) {
            SCOPED_TRACE("limit " + std::to_string(row.limit) + " chunk " + std::to_string(chunk));
            std::vector<int64_t> reports;
            ScanOptions options;
            options.recordLimit = row.limit;
            options.progressInterval = 3;
            options.chunkBytes = chunk;
            options.onProgress = [&reports](int64_t n) { reports.push_back(n); };
            ASSERT_TRUE(scanBytes(tenRecords(layout), layout, options).ok());
            EXPECT_EQ(reports, row.reports);
        }
    }
}

const char* layoutWord(InputLayout layout) {
    const char* const names[] = {"Single", "FreeIQ", "Csv", "Short", "Float"};
    return names[static_cast<int>(layout)];
}

std::string layoutName(const ::testing::TestParamInfo<InputLayout>& row) { return layoutWord(row.param); }

INSTANTIATE_TEST_SUITE_P(Layouts, RecordLimit,
                         ::testing::Values(InputLayout::SingleChannelText, InputLayout::FreeFormatIQText,
                                           InputLayout::CsvIQText, InputLayout::BinaryShortPairs,
                                           InputLayout::BinaryFloatPairs),
                         layoutName);

TEST(RecordLimitReading, NothingAfterTheExceedingRecordIsRead) {
    ScanOptions options;
    options.recordLimit = 2;
    // "x" comes after the third value, the one that exceeds the limit.
    const ScanOutcome outcome = scanBytes("1 2 3 x", InputLayout::SingleChannelText, options);
    ASSERT_TRUE(outcome.ok());
    EXPECT_EQ(outcome.result.count, 2);
    EXPECT_EQ(outcome.result.peakI, 3.0);
}

TEST(RecordLimitReading, ExceedingRecordIsReadAndMustBeSound) {
    ScanOptions options;
    options.recordLimit = 2;
    const ScanOutcome outcome = scanBytes("1 2 x", InputLayout::SingleChannelText, options);
    ASSERT_FALSE(outcome.ok());
    EXPECT_EQ(outcome.error->fault, ScanFault::NotANumber);
}

TEST(RecordLimitReading, ZeroLimitCountsNothing) {
    ScanOptions options;
    options.recordLimit = 0;
    const ScanOutcome outcome = scanBytes(shortPairs({{5, 6}, {7, 8}}), InputLayout::BinaryShortPairs, options);
    ASSERT_TRUE(outcome.ok());
    EXPECT_EQ(outcome.result.count, 0);
    EXPECT_TRUE(outcome.result.limitExceeded);
}

TEST(RecordLimitReading, BinaryLimitInsideOddChunks) {
    std::string bytes;
    for (int k = 0; k < 25; ++k) bytes += shortPairs({{static_cast<int16_t>(k), static_cast<int16_t>(-k)}});
    for (std::size_t chunk : {std::size_t{1}, std::size_t{6}, std::size_t{12}, std::size_t{1000}}) {
        ScanOptions options;
        options.recordLimit = 10;
        options.chunkBytes = chunk;
        const ScanOutcome outcome = scanBytes(bytes, InputLayout::BinaryShortPairs, options);
        ASSERT_TRUE(outcome.ok());
        EXPECT_EQ(outcome.result.count, 10) << "chunk " << chunk;
        EXPECT_EQ(outcome.result.peakI, 10.0) << "chunk " << chunk;
    }
}

TEST(RecordLimitReading, NaNBeyondTheExceedingRecordIsNotSeen) {
    ScanOptions options;
    options.recordLimit = 1;
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const ScanOutcome outcome =
        scanBytes(floatPairs({{1, 2}, {3, 4}, {nan, nan}}), InputLayout::BinaryFloatPairs, options);
    ASSERT_TRUE(outcome.ok());
    EXPECT_EQ(outcome.result.count, 1);
    EXPECT_EQ(outcome.result.peakI, 3.0);
}

}  // namespace
}  // namespace orvenda::input
