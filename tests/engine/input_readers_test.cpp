// The readers of the four input layouts, fed from memory through the same
// code that reads files.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engine/line_reader.h"
#include "engine/sample_readers.h"
#include "tests/engine/engine_test_support.h"

namespace halvik {
namespace {

std::span<const std::byte> asBytes(const std::string& text) {
    return std::as_bytes(std::span(text.data(), text.size()));
}

std::vector<std::string> allLines(const std::string& text) {
    MemoryByteSource source(asBytes(text));
    LineReader reader(source);
    std::vector<std::string> lines;
    std::string_view line;
    while (reader.next(line)) lines.emplace_back(line);
    return lines;
}

TEST(LineReader, SplitsAtLineFeedsAndKeepsALastLineWithoutOne) {
    EXPECT_EQ(allLines("a\n\nbc\nd"), (std::vector<std::string>{"a", "", "bc", "d"}));
    EXPECT_EQ(allLines("a\n"), (std::vector<std::string>{"a"}));
    EXPECT_TRUE(allLines("").empty());
}

TEST(LineReader, AVeryLongLineIsOneLineWhoseHeadIsKept) {
    std::string longLine = "0.75" + std::string(3 * LineReader::kBufferSize, ' ') + "x";
    auto lines = allLines(longLine + "\n0.5\n");
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0].size(), LineReader::kMaxKeptLength);
    EXPECT_EQ(lines[0].substr(0, 4), "0.75");
    EXPECT_EQ(lines[1], "0.5");
}

TEST(LineReader, LinesAcrossBufferRefillsStayWhole) {
    std::string text;
    std::vector<std::string> expected;
    for (int k = 0; text.size() < 3 * LineReader::kBufferSize; ++k) {
        expected.push_back(std::to_string(k) + std::string(static_cast<std::size_t>(k % 977), 'x'));
        text += expected.back() + "\n";
    }
    EXPECT_EQ(allLines(text), expected);
}

struct Block {
    std::vector<double> i, q;
    explicit Block(std::size_t n, double fill = 99.0) : i(n, fill), q(n, fill) {}
};

std::optional<InputSet> openFromMemory(const std::string& iBytes, const std::string& qBytes, int32_t type,
                                       int32_t kind) {
    SourceOpener opener = [&](const std::string& path) -> std::unique_ptr<ByteSource> {
        if (path == "I") return std::make_unique<MemoryByteSource>(asBytes(iBytes));
        if (path == "Q") return std::make_unique<MemoryByteSource>(asBytes(qBytes));
        return nullptr;
    };
    return InputSet::open("I", "Q", type, kind, opener);
}

TEST(InputSet, SingleColumnFileEndsWithZerosAcrossBlocks) {
    std::string iText = "1\n2\n3\n";
    auto inputs = openFromMemory(iText, "", 0, HALVIK_KIND_I_FILE);
    ASSERT_TRUE(inputs);
    Block first(2), second(3);
    inputs->readBlock(first.i, first.q);
    inputs->readBlock(second.i, second.q);
    EXPECT_EQ(first.i, (std::vector<double>{1, 2}));
    EXPECT_EQ(second.i, (std::vector<double>{3, 0, 0}));
    EXPECT_EQ(first.q, (std::vector<double>{0, 0})) << "a channel without a file is 0";
    EXPECT_EQ(second.q, (std::vector<double>{0, 0, 0}));
}

TEST(InputSet, EmptyLinesOfASingleColumnFileAreZerosNotTheEnd) {
    std::string qText = "\n5\n";
    auto inputs = openFromMemory("", qText, 0, HALVIK_KIND_Q_FILE);
    ASSERT_TRUE(inputs);
    Block block(3);
    inputs->readBlock(block.i, block.q);
    EXPECT_EQ(block.q, (std::vector<double>{0, 5, 0}));
    EXPECT_EQ(block.i, (std::vector<double>{0, 0, 0}));
}

TEST(InputSet, SingleColumnStaysEndedEvenIfMoreBytesWouldCome) {
    // Once a channel has run out, later blocks read nothing from it.
    std::string iText = "1\n";
    std::string qText = "1\n2\n3\n4\n";
    auto inputs = openFromMemory(iText, qText, 0, HALVIK_KIND_I_FILE | HALVIK_KIND_Q_FILE);
    ASSERT_TRUE(inputs);
    Block block(4);
    inputs->readBlock(block.i, block.q);
    EXPECT_EQ(block.i, (std::vector<double>{1, 0, 0, 0}));
    EXPECT_EQ(block.q, (std::vector<double>{1, 2, 3, 4}));
}

TEST(InputSet, TwoColumnTextReadsPairsThenZeros) {
    std::string text = "0.5;-0.5\n1e3 2\n7\n";
    auto inputs = openFromMemory(text, "", HALVIK_TYPE_TEXT, HALVIK_KIND_IQ_FILE);
    ASSERT_TRUE(inputs);
    Block block(5);
    inputs->readBlock(block.i, block.q);
    EXPECT_EQ(block.i, (std::vector<double>{0.5, 1000, 7, 0, 0}));
    EXPECT_EQ(block.q, (std::vector<double>{-0.5, 2, 0, 0, 0}));
}

TEST(InputSet, Int16PairsDropAnIWithoutItsQ) {
    std::string bytes = halvik::test::bytesOf(std::vector<int16_t>{-32768, 32767, 1, -1, 12345});  // 10 bytes
    auto inputs = openFromMemory(bytes, "", HALVIK_TYPE_INT16_PAIRS, HALVIK_KIND_IQ_FILE);
    ASSERT_TRUE(inputs);
    Block block(3);
    inputs->readBlock(block.i, block.q);
    EXPECT_EQ(block.i, (std::vector<double>{-32768, 1, 0}));
    EXPECT_EQ(block.q, (std::vector<double>{32767, -1, 0}));
}

TEST(InputSet, FloatPairsCountNonFiniteValuesAsZero) {
    const float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    std::string bytes = halvik::test::bytesOf(std::vector<float>{0.25f, -1.5f, inf, nan, -inf, 3.0f});
    bytes += "xyz";  // a partial item at the end
    auto inputs = openFromMemory(bytes, "", HALVIK_TYPE_FLOAT_PAIRS, HALVIK_KIND_IQ_FILE);
    ASSERT_TRUE(inputs);
    Block block(2), rest(2);
    inputs->readBlock(block.i, block.q);
    inputs->readBlock(rest.i, rest.q);
    EXPECT_EQ(block.i, (std::vector<double>{0.25, 0.0}));
    EXPECT_EQ(block.q, (std::vector<double>{-1.5, 0.0}));
    EXPECT_EQ(rest.i, (std::vector<double>{0.0, 0.0}));
    EXPECT_EQ(rest.q, (std::vector<double>{3.0, 0.0}));
}

struct OpenRow {
    const char* name;
    int32_t type;
    int32_t kind;
    bool iExists;
    bool qExists;
    bool opens;
};

// Rows are named in test output by their name, not by a dump of their bytes.
void PrintTo(const OpenRow& row, std::ostream* os) { *os << row.name; }

class InputSetOpening : public ::testing::TestWithParam<OpenRow> {};

TEST_P(InputSetOpening, OpensExactlyTheFilesTheKindNames) {
    const OpenRow& row = GetParam();
    std::vector<std::string> opened;
    std::string empty;
    SourceOpener opener = [&](const std::string& path) -> std::unique_ptr<ByteSource> {
        opened.push_back(path);
        bool exists = (path == "I" && row.iExists) || (path == "Q" && row.qExists);
        return exists ? std::make_unique<MemoryByteSource>(asBytes(empty)) : nullptr;
    };
    EXPECT_EQ(InputSet::open("I", "Q", row.type, row.kind, opener).has_value(), row.opens);
    bool qOpened = std::find(opened.begin(), opened.end(), "Q") != opened.end();
    if (row.kind == HALVIK_KIND_IQ_FILE) {
        EXPECT_FALSE(qOpened) << "the Q path plays no part with one I/Q file";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, InputSetOpening,
    ::testing::Values(OpenRow{"NoFiles", 0, 0, false, false, true}, OpenRow{"IOnly", 0, 1, true, false, true},
                      OpenRow{"IMissing", 0, 1, false, true, false}, OpenRow{"QMissing", 0, 3, true, false, false},
                      OpenRow{"BothFiles", 0, 3, true, true, true}, OpenRow{"IQText", 1, 4, true, false, true},
                      OpenRow{"IQInt16", 2, 4, true, false, true}, OpenRow{"IQFloat", 3, 4, true, false, true},
                      OpenRow{"IQFileMissing", 3, 4, false, true, false},
                      OpenRow{"IQTypeZero", 0, 4, true, true, false}, OpenRow{"IQTypeFour", 4, 4, true, true, false},
                      OpenRow{"KindFiveIsSingleColumns", 0, 5, true, false, true}),
    test::RowName());

TEST(FileByteSource, ReadsAFileInPiecesOfAnySize) {
    halvik::test::ScratchDir dir;
    std::string bytes(FileByteSource::kBufferSize * 2 + 123, '\0');
    for (std::size_t k = 0; k < bytes.size(); ++k) bytes[k] = static_cast<char>(k * 31 % 251);
    halvik::test::writeFile(dir.file("data"), bytes);
    auto source = FileByteSource::open(dir.file("data"));
    ASSERT_TRUE(source);
    std::string back;
    std::vector<std::byte> piece;
    for (std::size_t size : {std::size_t{7}, FileByteSource::kBufferSize + 5, std::size_t{4096}}) {
        for (;;) {
            piece.resize(size);
            std::size_t got = source->read(piece);
            back.append(reinterpret_cast<const char*>(piece.data()), got);
            if (got < size || back.size() > bytes.size() / 2) break;
        }
    }
    piece.resize(FileByteSource::kBufferSize);
    while (std::size_t got = source->read(piece)) back.append(reinterpret_cast<const char*>(piece.data()), got);
    EXPECT_EQ(back, bytes);
    EXPECT_FALSE(FileByteSource::open(dir.file("absent")));
    EXPECT_FALSE(FileByteSource::open(dir.path().string())) << "a folder is no input file";
    EXPECT_FALSE(FileByteSource::open(""));
}

}  // namespace
}  // namespace halvik
