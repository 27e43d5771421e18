// Files that cannot be read as the chosen layout are refused, naming the
// line (text) or record (binary) and the offending item.
#include <gtest/gtest.h>
#include <ostream>

#include <unistd.h>

#include <bit>
#include <filesystem>
#include <limits>
#include <string>
#include <vector>

#include "core/input/scan_error_text.h"
#include "core/input/scanner.h"
#include "tests/input/sample_bytes.h"

namespace orvenda::input {
namespace {

using testing::floatPairs;

struct RejectCase {
    const char* name;
    InputLayout layout;
    std::string bytes;
    ScanFault fault;
    int64_t position;
    std::string detail;
};

// Rows are named in test output by their name, not by a dump of their bytes.
void PrintTo(const RejectCase& row, std::ostream* os) { *os << row.name; }

std::vector<RejectCase> rejectCases() {
    using L = InputLayout;
    using F = ScanFault;
    constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
    constexpr float kInf = std::numeric_limits<float>::infinity();
    return {
        {"SingleWord", L::SingleChannelText, "1\nabc\n", F::NotANumber, 2, "abc"},
        {"SingleNumberWithTail", L::SingleChannelText, "1 2x 3", F::NotANumber, 1, "2x"},
        {"SingleOverflow", L::SingleChannelText, "\n\n1e999\n", F::NotFinite, 3, "1e999"},
        {"SingleNegativeOverflow", L::SingleChannelText, "-1.8e308", F::NotFinite, 1, "-1.8e308"},
        {"SingleNaNWord", L::SingleChannelText, "nan\n", F::NotANumber, 1, "nan"},
        {"SingleInfWord", L::SingleChannelText, "1\r\ninf\r\n", F::NotANumber, 2, "inf"},
        {"SingleHex", L::SingleChannelText, "0x10", F::NotANumber, 1, "0x10"},
        {"SingleSemicolonIsNoSeparator", L::SingleChannelText, "1;2", F::NotANumber, 1, "1;2"},
        {"SingleDoubleSign", L::SingleChannelText, "--1", F::NotANumber, 1, "--1"},
        {"SingleOpenExponent", L::SingleChannelText, "1e", F::NotANumber, 1, "1e"},
        {"SingleTwoPoints", L::SingleChannelText, "1.2.3", F::NotANumber, 1, "1.2.3"},
        {"SinglePointAlone", L::SingleChannelText, ".", F::NotANumber, 1, "."},
        {"SingleControlCharacterShown", L::SingleChannelText, std::string("7\x01", 2), F::NotANumber, 1, "7?"},
        {"FreeOddCount", L::FreeFormatIQText, "1 2\n3\n", F::OddValueCount, 2, ""},
        {"FreeOddCountOneLine", L::FreeFormatIQText, "1 2 3", F::OddValueCount, 1, ""},
        {"FreeOverflow", L::FreeFormatIQText, "1 2\n-1e400 0", F::NotFinite, 2, "-1e400"},
        {"FreeWordInQ", L::FreeFormatIQText, "1 Q\n", F::NotANumber, 1, "Q"},
        {"CsvEmptyLine", L::CsvIQText, "1,2\n\n3,4\n", F::TooFewFields, 2, ""},
        {"CsvTrailingEmptyLine", L::CsvIQText, "1,2\n3,4\n\n", F::TooFewFields, 3, ""},
        {"CsvOneField", L::CsvIQText, "1,2\n5\n", F::TooFewFields, 2, "5"},
        {"CsvSemicolons", L::CsvIQText, "1,2\n3;4\n", F::TooFewFields, 2, "3;4"},
        {"CsvWordInQ", L::CsvIQText, "1,abc\n", F::NotANumber, 1, "abc"},
        {"CsvEmptyQ", L::CsvIQText, "1,\n", F::NotANumber, 1, ""},
        {"CsvEmptyI", L::CsvIQText, ",1\n", F::NotANumber, 1, ""},
        {"CsvBlankInsideField", L::CsvIQText, "1 2,3\n", F::NotANumber, 1, "1 2"},
        {"CsvOverflow", L::CsvIQText, "1,2\n3,1e999\n", F::NotFinite, 2, "1e999"},
        {"CsvDoubleSign", L::CsvIQText, "+-1,2", F::NotANumber, 1, "+-1"},
        {"CsvStrayCarriageReturn", L::CsvIQText, "1,2\r\r\n", F::NotANumber, 1, "2?"},
        {"FloatNaN", L::BinaryFloatPairs, floatPairs({{1, 2}, {3, 4}, {kNaN, 0}}), F::NotFinite, 3, ""},
        {"FloatInfinityInQ", L::BinaryFloatPairs, floatPairs({{1, kInf}}), F::NotFinite, 1, ""},
        {"FloatNegativeInfinity", L::BinaryFloatPairs, floatPairs({{0, 0}, {-kInf, 1}}), F::NotFinite, 2, ""},
    };
}

class ScannerReject : public ::testing::TestWithParam<RejectCase> {};

TEST_P(ScannerReject, NamesThePlaceInAnyChunking) {
    const RejectCase& c = GetParam();
    for (std::size_t chunk : {kDefaultChunkBytes, std::size_t{1}, std::size_t{3}, std::size_t{7}}) {
        SCOPED_TRACE("chunk " + std::to_string(chunk));
        ScanOptions options;
        options.chunkBytes = chunk;
        const ScanOutcome outcome = scanBytes(c.bytes, c.layout, options);
        ASSERT_FALSE(outcome.ok());
        EXPECT_EQ(outcome.error->fault, c.fault);
        EXPECT_EQ(outcome.error->position, c.position);
        EXPECT_EQ(outcome.error->detail, c.detail);
    }
}

std::string rowName(const ::testing::TestParamInfo<RejectCase>& row) { return row.param.name; }

INSTANTIATE_TEST_SUITE_P(Files, ScannerReject, ::testing::ValuesIn(rejectCases()), rowName);

TEST(ScannerFileFaults, MissingFileCannotBeOpened) {
    const ScanOutcome outcome = scanFile("/nonexistent-orvenda-dir/a.dat", InputLayout::CsvIQText);
    ASSERT_FALSE(outcome.ok());
    EXPECT_EQ(outcome.error->fault, ScanFault::CannotOpen);
    EXPECT_FALSE(outcome.error->detail.empty());
}

TEST(ScannerFileFaults, DirectoryCannotBeRead) {
    const ScanOutcome outcome =
        scanFile(std::filesystem::temp_directory_path().string(), InputLayout::BinaryFloatPairs);
    ASSERT_FALSE(outcome.ok());
    EXPECT_TRUE(outcome.error->fault == ScanFault::ReadFailed || outcome.error->fault == ScanFault::CannotOpen);
}

TEST(ScannerFileFaults, LongItemGrowsTheBufferInsteadOfFailing) {
    // A number far longer than the chunk still reads.
    ScanOptions options;
    options.chunkBytes = 16;
    const std::string bytes = "1 " + std::string(5000, '0') + "2 3\n";
    const ScanOutcome outcome = scanBytes(bytes, InputLayout::SingleChannelText, options);
    ASSERT_TRUE(outcome.ok());
    EXPECT_EQ(outcome.result.count, 3);
    EXPECT_EQ(outcome.result.peakI, 3.0);
}

struct MessageCase {
    const char* name = "";
    InputLayout layout = InputLayout::CsvIQText;
    ScanError error;
    std::vector<std::string> parts;
};

// Rows are named in test output by their name, not by a dump of their bytes.
void PrintTo(const MessageCase& row, std::ostream* os) { *os << row.name; }

class ScanErrorMessage : public ::testing::TestWithParam<MessageCase> {};

TEST_P(ScanErrorMessage, NamesFileAndPlace) {
    const MessageCase& c = GetParam();
    const std::string text = scanErrorText(c.error, c.layout, "/data/run 1.csv");
    EXPECT_NE(text.find("\"/data/run 1.csv\""), std::string::npos) << text;
    for (const std::string& part : c.parts)
        EXPECT_NE(text.find(part), std::string::npos) << "missing \"" << part << "\" in: " << text;
}

std::string messageName(const ::testing::TestParamInfo<MessageCase>& row) { return row.param.name; }

MessageCase messageCase(const char* name, InputLayout layout, ScanFault fault, int64_t position, const char* detail,
                        std::vector<std::string> parts) {
    MessageCase row;
    row.name = name;
    row.layout = layout;
    row.error.fault = fault;
    row.error.position = position;
    row.error.detail = detail;
    row.parts = std::move(parts);
    return row;
}

std::vector<MessageCase> messageCases() {
    std::vector<MessageCase> rows;
    rows.push_back(messageCase("CannotOpen", InputLayout::CsvIQText, ScanFault::CannotOpen, 0, "No such file",
                               {"cannot be opened", "No such file"}));
    rows.push_back(messageCase("NotANumber", InputLayout::CsvIQText, ScanFault::NotANumber, 12, "abc",
                               {"line 12", "\"abc\"", "not a number"}));
    rows.push_back(messageCase("TooFewFields", InputLayout::CsvIQText, ScanFault::TooFewFields, 3, "5",
                               {"line 3", "fewer than two fields", "\"5\""}));
    rows.push_back(
        messageCase("EmptyLine", InputLayout::CsvIQText, ScanFault::TooFewFields, 4, "", {"line 4 is empty"}));
    rows.push_back(messageCase("EmptyField", InputLayout::CsvIQText, ScanFault::NotANumber, 2, "",
                               {"line 2 has an empty I or Q field"}));
    rows.push_back(messageCase("OddCount", InputLayout::FreeFormatIQText, ScanFault::OddValueCount, 9, "",
                               {"line 9", "odd number"}));
    rows.push_back(messageCase("TextOverflow", InputLayout::SingleChannelText, ScanFault::NotFinite, 2, "1e999",
                               {"line 2", "\"1e999\""}));
    rows.push_back(messageCase("BinaryNaN", InputLayout::BinaryFloatPairs, ScanFault::NotFinite, 3, "",
                               {"record 3", "not a finite number"}));
    rows.push_back(messageCase("ReadFailed", InputLayout::BinaryShortPairs, ScanFault::ReadFailed, 8, "I/O error",
                               {"record 8", "I/O error"}));
    return rows;
}

INSTANTIATE_TEST_SUITE_P(Faults, ScanErrorMessage, ::testing::ValuesIn(messageCases()), messageName);

}  // namespace
}  // namespace orvenda::input
