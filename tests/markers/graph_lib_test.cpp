// The marker file reader: what it takes, what it rejects, and the point limit.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include "core/markers/graph_lib.h"
#include "tests/markers/marker_file_test_support.h"

namespace orvenda::markers {
namespace {

using ::testing::HasSubstr;
using testsupport::pairsText;
using testsupport::TempFolder;

MarkerFileContents contentsOf(const MarkerFileReadResult& result) {
    if (const auto* error = std::get_if<MarkerFileError>(&result)) ADD_FAILURE() << "rejected: " << error->message;
    return std::holds_alternative<MarkerFileContents>(result) ? std::get<MarkerFileContents>(result)
                                                              : MarkerFileContents{};
}

std::string errorOf(const MarkerFileReadResult& result) {
    if (std::holds_alternative<MarkerFileContents>(result)) {
        ADD_FAILURE() << "accepted with " << std::get<MarkerFileContents>(result).points.size() << " points";
        return {};
    }
    return std::get<MarkerFileError>(result).message;
}

struct AcceptedCase {
    const char* name;
    std::string bytes;
    std::vector<MarkerPoint> points;
};
void PrintTo(const AcceptedCase& c, std::ostream* out) { *out << c.name; }

class AcceptedFile : public ::testing::TestWithParam<AcceptedCase> {};

TEST_P(AcceptedFile, GivesThePairsInFileOrder) {
    const AcceptedCase& c = GetParam();
    const MarkerFileContents contents = contentsOf(readMarkerBytes(c.bytes, "m.dat"));
    EXPECT_EQ(contents.points, c.points);
    EXPECT_FALSE(contents.pointsDropped);
}

const std::vector<MarkerPoint> kTwoPoints{{0, 1}, {100, 0}};

INSTANTIATE_TEST_SUITE_P(
    Reader, AcceptedFile,
    ::testing::Values(AcceptedCase{"TwoLinesTabCrLf", "0\t1\r\n100\t0\r\n", kTwoPoints},
                      AcceptedCase{"OneLineCommas", "0,1,100,0", kTwoPoints},
                      AcceptedCase{"LineFeedsOnly", "0\t1\n100\t0\n", kTwoPoints},
                      AcceptedCase{"CarriageReturnsOnly", "0\t1\r100\t0\r", kTwoPoints},
                      AcceptedCase{"OnePerLine", "0\r\n1\r\n100\r\n0\r\n", kTwoPoints},
                      AcceptedCase{"BlanksAroundCommas", "  0 , 1\r\n\t100 ,\t0  ", kTwoPoints},
                      AcceptedCase{"CommaAtLineEnds", "0,1,\r\n100,0,\r\n", kTwoPoints},
                      AcceptedCase{"NoFinalLineEnd", "0\t1\r\n100\t0", kTwoPoints},
                      AcceptedCase{"BlankLinesBetween", "\r\n0\t1\r\n\r\n\r\n100\t0\r\n\r\n", kTwoPoints},
                      AcceptedCase{"ByteOrderMark",
                                   "\xEF\xBB\xBF"
                                   "0\t1\r\n100\t0\r\n",
                                   kTwoPoints},
                      AcceptedCase{"LeadingZerosAndSigns", "0010 +1 -0 0", {{10, 1}, {0, 0}}},
                      AcceptedCase{"DecimalsAndExponents", "7.5 1e0 1E3 .4", {{8, 1}, {1000, 0}}},
                      AcceptedCase{"HalvesToEven", "2.5 3.5 -2.5 0.5 -3.5 1.5", {{2, 4}, {-2, 0}, {-4, 2}}},
                      AcceptedCase{"NothingChecked", "500 1 40 0 -7 9", {{500, 1}, {40, 0}, {-7, 9}}},
                      AcceptedCase{"Int32Ends", "-2147483648 2147483647", {{INT32_MIN, INT32_MAX}}},
                      AcceptedCase{"RoundsIntoInt32", "2147483647.4 -2147483648.5", {{INT32_MAX, INT32_MIN}}},
                      AcceptedCase{"EmptyFile", "", {}}, AcceptedCase{"OnlySeparators", " \r\n\t \n", {}},
                      AcceptedCase{"OnlyByteOrderMark", "\xEF\xBB\xBF", {}}),
    [](const auto& row) { return std::string(row.param.name); });

struct RejectedCase {
    const char* name;
    std::string bytes;
    std::vector<std::string> saying;  // parts of the message besides the file name
};
void PrintTo(const RejectedCase& c, std::ostream* out) { *out << c.name; }

class RejectedFile : public ::testing::TestWithParam<RejectedCase> {};

TEST_P(RejectedFile, NamesTheFileAndTheItem) {
    const RejectedCase& c = GetParam();
    const std::string message = errorOf(readMarkerBytes(c.bytes, "m.dat"));
    EXPECT_THAT(message, HasSubstr("\"m.dat\""));
    for (const std::string& part : c.saying) EXPECT_THAT(message, HasSubstr(part));
    EXPECT_LT(message.size(), 300u) << "the item is shown shortened";
}

INSTANTIATE_TEST_SUITE_P(
    Reader, RejectedFile,
    ::testing::Values(
        RejectedCase{"WordAsLevel", "0\tabc\r\n", {"item 2 (\"abc\", line 1) is not a number"}},
        RejectedCase{"WordOnLaterLine", "0\t1\r\n100\t0\r\nx 1\r\n", {"item 5 (\"x\", line 3)", "not a number"}},
        RejectedCase{"PositionWithoutValue", "0\t1\r\n100\r\n", {"item 3 (\"100\", line 2)", "no value"}},
        RejectedCase{"LoneNumber", "5", {"item 1", "no value"}},
        RejectedCase{"AboveInt32", "0\t2147483648\r\n", {"item 2 (\"2147483648\"", "beyond the 32-bit"}},
        RejectedCase{"BelowInt32", "-2147483649 0", {"item 1", "beyond the 32-bit"}},
        RejectedCase{"RoundsAboveInt32", "2147483647.5 0", {"item 1", "beyond the 32-bit"}},
        RejectedCase{"BeyondDouble", "1e400 0", {"item 1 (\"1e400\"", "not a number"}},
        RejectedCase{"TwoCommas", "0,,1,0", {"item 2 (line 1) is empty"}},
        RejectedCase{"LeadingComma", ",0,1", {"item 1 (line 1) is empty"}},
        RejectedCase{"CommasAcrossLines", "0,1,\r\n,100,0", {"item 3 (line 2) is empty"}},
        RejectedCase{"Semicolons", "0;1", {"\"0;1\"", "not a number"}},
        RejectedCase{"DecimalComma", "0\t1,5\r\n", {"item 3", "no value"}},
        RejectedCase{"HexNumber", "0x10 1", {"\"0x10\"", "not a number"}},
        RejectedCase{"NulByte", std::string("0\t1\0", 4), {"\"1\\x00\"", "not a number"}},
        RejectedCase{"Quoted", "\"0\" 1", {"\"\"0\"\"", "not a number"}},
        RejectedCase{"HugeItem", std::string(100000, 'a') + " 0", {"\"aaaaaaaaaaaaaaaaaaaaaaaa...\"", "not a number"}},
        RejectedCase{"HugeDigitRun", std::string(100000, '1') + " 0", {"item 1", "not a number"}},
        RejectedCase{"HugeDigitRunAfterByteOrderMark",
                     "\xEF\xBB\xBF" + std::string(5000, '0') + "1 2",
                     {"item 1", "not a number"}},
        RejectedCase{"BinaryData", std::string("\x00\x7F\x80\xFF", 4), {"\\x00\\x7F\\x80\\xFF", "not a number"}}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(MarkerFileLimit, TakesAllOf1001PairsWithoutDropping) {
    const MarkerFileContents contents = contentsOf(readMarkerBytes(pairsText(HALVIK_MARKER_LIST_ENTRIES), "m.dat"));
    ASSERT_EQ(contents.points.size(), 1001u);
    EXPECT_FALSE(contents.pointsDropped);
    EXPECT_EQ(contents.points.back(), (MarkerPoint{2000, 0}));
}

TEST(MarkerFileLimit, DropsThe1002ndPairAndStopsReading) {
    // Whatever follows the dropped pair is not read, faults included.
    for (const std::string tail : {"", "abc", "7", ",,"}) {
        const MarkerFileContents contents = contentsOf(readMarkerBytes(pairsText(1002) + tail, "m.dat"));
        ASSERT_EQ(contents.points.size(), 1001u) << tail;
        EXPECT_TRUE(contents.pointsDropped) << tail;
        EXPECT_EQ(contents.points.front(), (MarkerPoint{0, 0}));
        EXPECT_EQ(contents.points.back(), (MarkerPoint{2000, 0})) << "the first HALVIK_MARKER_LIST_ENTRIES are kept";
    }
}

TEST(MarkerFileLimit, AFaultInsideTheDroppedPairStillRejects) {
    // The 1002nd pair is read before it is dropped; a half pair cannot be read.
    EXPECT_THAT(errorOf(readMarkerBytes(pairsText(HALVIK_MARKER_LIST_ENTRIES) + "7", "m.dat")), HasSubstr("no value"));
    EXPECT_THAT(errorOf(readMarkerBytes(pairsText(HALVIK_MARKER_LIST_ENTRIES) + "7 x", "m.dat")),
                HasSubstr("not a number"));
}

TEST(MarkerFileLimit, FollowsTheRequestedLimit) {
    for (int limit : {0, 1, 5}) {
        const MarkerFileContents contents = contentsOf(readMarkerBytes(pairsText(6), "m.dat", limit));
        EXPECT_EQ(contents.points.size(), static_cast<std::size_t>(limit));
        EXPECT_TRUE(contents.pointsDropped) << limit;
    }
    const MarkerFileContents exact = contentsOf(readMarkerBytes(pairsText(6), "m.dat", 6));
    EXPECT_EQ(exact.points.size(), 6u);
    EXPECT_FALSE(exact.pointsDropped);
}

TEST(MarkerFileOnDisk, ReadsLikeTheSameBytesInMemory) {
    TempFolder folder;
    const std::string bytes = "0\t1\r\n100\t0\r\n" + pairsText(1500);
    const std::string path = folder.write("big.dat", bytes);
    const MarkerFileContents fromDisk = contentsOf(readMarkerFile(path));
    const MarkerFileContents fromMemory = contentsOf(readMarkerBytes(bytes, path));
    EXPECT_EQ(fromDisk.points, fromMemory.points);
    EXPECT_TRUE(fromDisk.pointsDropped);
    EXPECT_EQ(fromDisk.points[1], (MarkerPoint{100, 0}));
}

TEST(MarkerFileOnDisk, ReportsFilesThatCannotBeRead) {
    TempFolder folder;
    const std::string missing = folder.path("missing.dat");
    EXPECT_THAT(errorOf(readMarkerFile(missing)),
                ::testing::AllOf(HasSubstr("\"" + missing + "\""), HasSubstr("cannot be opened")));
    const std::string asFolder = folder.path("");
    EXPECT_THAT(errorOf(readMarkerFile(asFolder)), HasSubstr("\"" + asFolder + "\""));
    const std::string bad = folder.write("bad.dat", "0 1 2");
    EXPECT_THAT(errorOf(readMarkerFile(bad)), ::testing::AllOf(HasSubstr("\"" + bad + "\""), HasSubstr("item 3")));
}

// A device that never ends, chosen under "all files": its first item is
// already too long to be a number, so reading stops there. Run in a child
// with an alarm, so that a reader that keeps reading fails instead of hanging.
TEST(MarkerFileOnDisk, EndlessDeviceIsRejectedWithoutReadingOn) {
    ASSERT_TRUE(std::filesystem::exists("/dev/zero"));
    ::testing::FLAGS_gtest_death_test_style = "fast";
    EXPECT_EXIT(
        {
            ::alarm(10);
            const MarkerFileReadResult result = readMarkerFile("/dev/zero");
            const auto* error = std::get_if<MarkerFileError>(&result);
            if (error == nullptr) std::_Exit(1);
            std::fprintf(stderr, "%s\n", error->message.c_str());
            std::_Exit(0);
        },
        ::testing::ExitedWithCode(0), "/dev/zero.*item 1.*not a number");
}

}  // namespace
}  // namespace orvenda::markers
