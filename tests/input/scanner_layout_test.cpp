// Every layout read correctly, whatever the size of the reads: each file is
// scanned in one piece, in chunks small enough to cut every number and line
// end, and from a real file.
#include <gtest/gtest.h>
#include <ostream>

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/input/scanner.h"
#include "tests/input/sample_bytes.h"
#include "tests/support/scratch_folder.h"

namespace orvenda::input {
namespace {

using testing::floatPairs;
using testing::shortPairs;

struct LayoutCase {
    const char* name;
    InputLayout layout;
    std::string bytes;
    int64_t count;
    double peakI;
    double peakQ;
};

// Rows are named in test output by their name, not by a dump of their bytes.
void PrintTo(const LayoutCase& row, std::ostream* os) { *os << row.name; }

std::vector<LayoutCase> layoutCases() {
    using L = InputLayout;
    return {
        {"SingleOnePerLine", L::SingleChannelText, "1\n-2.5\n3e1\n", 3, 30.0, 0.0},
        {"SingleCommaOnOneLineCountsTwo", L::SingleChannelText, "1,2\n", 2, 2.0, 0.0},
        {"SingleMixedSeparators", L::SingleChannelText, "  -0.25\t1.5e3 ,, 7\r\n", 3, 1500.0, 0.0},
        {"SingleSignsAndPoints", L::SingleChannelText, "+.5 5. -0 -7.25E-1", 4, 5.0, 0.0},
        {"SingleNoFinalLineEnd", L::SingleChannelText, "4\n5", 2, 5.0, 0.0},
        {"SingleTinyValueReadsAsZero", L::SingleChannelText, "1e-999\n", 1, 0.0, 0.0},
        {"SingleLongMantissa", L::SingleChannelText, "0.12345678901234567890123\n", 1, 0.12345678901234567890123, 0.0},
        {"SingleEmpty", L::SingleChannelText, "", 0, 0.0, 0.0},
        {"SingleOnlySeparators", L::SingleChannelText, "\n\n \r\n,\t", 0, 0.0, 0.0},
        {"FreePairPerLine", L::FreeFormatIQText, "0.5 -0.5\n1\t-2\n", 2, 1.0, 2.0},
        {"FreePairsSpanLines", L::FreeFormatIQText, "1\n-2\n3 4 5 -6\n", 3, 5.0, 6.0},
        {"FreeCommaSeparated", L::FreeFormatIQText, "0.5,-0.25,9,1\n", 2, 9.0, 1.0},
        {"FreeCrLf", L::FreeFormatIQText, "1 2\r\n3 4\r\n", 2, 3.0, 4.0},
        {"FreeEmpty", L::FreeFormatIQText, "", 0, 0.0, 0.0},
        {"CsvThirdFieldIgnored", L::CsvIQText, "0.5,-0.25,9\n", 1, 0.5, 0.25},
        {"CsvGarbageAfterSecondField", L::CsvIQText, "1,2,abc,\n-3,0\n", 2, 3.0, 2.0},
        {"CsvCrLf", L::CsvIQText, "1,2\r\n-3,4\r\n", 2, 3.0, 4.0},
        {"CsvBlanksAroundFields", L::CsvIQText, " 1 ,\t-2 \n", 1, 1.0, 2.0},
        {"CsvNoFinalLineEnd", L::CsvIQText, "1,2\n3,4", 2, 3.0, 4.0},
        {"CsvCrAtEndOfFile", L::CsvIQText, "1,2\r", 1, 1.0, 2.0},
        {"CsvExponentsAndSigns", L::CsvIQText, "+1e2,-.5E+1\n", 1, 100.0, 5.0},
        {"CsvEmpty", L::CsvIQText, "", 0, 0.0, 0.0},
        {"ShortPairs", L::BinaryShortPairs, shortPairs({{1, -2}, {-32768, 32767}}), 2, 32768.0, 32767.0},
        // 10 bytes: the fifth item is an I without Q, a record of its own.
        {"ShortCutRecordCounts", L::BinaryShortPairs, shortPairs({{1, 2}, {3, 4}}) + std::string("\xfb\xff", 2), 3, 5.0,
         4.0},
        {"ShortOneByte", L::BinaryShortPairs, std::string("\x07", 1), 1, 7.0, 0.0},
        {"FloatPairs", L::BinaryFloatPairs, floatPairs({{0.5f, -0.25f}, {-1.5f, 2.0f}}), 2, 1.5, 2.0},
        {"FloatPeakIsExact", L::BinaryFloatPairs, floatPairs({{0.1f, -3.4028235e38f}}), 1, static_cast<double>(0.1f),
         static_cast<double>(3.4028235e38f)},
        {"FloatCutRecordCounts", L::BinaryFloatPairs, floatPairs({{1.0f, 2.0f}, {-3.0f, 0.0f}}).substr(0, 12), 2, 3.0,
         2.0},
        {"FloatEmpty", L::BinaryFloatPairs, "", 0, 0.0, 0.0},
    };
}

class ScannerLayout : public ::testing::TestWithParam<LayoutCase> {};

void expectResult(const ScanOutcome& outcome, const LayoutCase& c, const std::string& how) {
    SCOPED_TRACE(how);
    ASSERT_TRUE(outcome.ok()) << "fault " << static_cast<int>(outcome.error->fault) << " at " << outcome.error->position
                              << ": " << outcome.error->detail;
    EXPECT_EQ(outcome.result.count, c.count);
    EXPECT_EQ(outcome.result.peakI, c.peakI);
    EXPECT_EQ(outcome.result.peakQ, c.peakQ);
    EXPECT_FALSE(outcome.result.limitExceeded);
}

TEST_P(ScannerLayout, CountsAndPeaksInAnyChunking) {
    const LayoutCase& c = GetParam();
    expectResult(scanBytes(c.bytes, c.layout), c, "one piece");
    for (std::size_t chunk : {1, 2, 3, 5, 8, 13}) {
        ScanOptions options;
        options.chunkBytes = chunk;
        expectResult(scanBytes(c.bytes, c.layout, options), c, "chunk " + std::to_string(chunk));
    }
}

TEST_P(ScannerLayout, FileGivesTheSameAsBytes) {
    const LayoutCase& c = GetParam();
    const testsupport::ScratchFolder scratch;
    const std::string path = scratch.write("scan_" + std::string(c.name), c.bytes);
    expectResult(scanFile(path, c.layout), c, "file");
}

std::string rowName(const ::testing::TestParamInfo<LayoutCase>& row) { return row.param.name; }

INSTANTIATE_TEST_SUITE_P(Layouts, ScannerLayout, ::testing::ValuesIn(layoutCases()), rowName);

}  // namespace
}  // namespace orvenda::input
