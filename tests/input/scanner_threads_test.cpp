// The text layouts scanned on several threads against the single-threaded
// scan: the same count, peaks bit for bit, limit flag, first error (fault,
// line, item) and progress reports, for every thread count, chunk size and
// piece size, on edge cases and on generated texts with a bad item anywhere.
#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "core/input/parallel_text_chunks.h"
#include "core/input/scanner.h"

namespace orvenda::input {
namespace {

constexpr int64_t kNoLimit = std::numeric_limits<int32_t>::max();

struct Scan {
    ScanOutcome outcome;
    std::vector<int64_t> reports;
};

Scan scanText(const std::string& text, InputLayout layout, unsigned threads, std::size_t chunkBytes,
              std::size_t pieceBytes, int64_t limit) {
    Scan scan;
    ScanOptions options;
    options.threads = threads;
    options.chunkBytes = chunkBytes;
    options.pieceBytes = pieceBytes;
    options.recordLimit = limit;
    options.progressInterval = 3;
    options.onProgress = [&scan](int64_t count) { scan.reports.push_back(count); };
    scan.outcome = scanBytes(text, layout, options);
    return scan;
}

void expectSameScan(const Scan& got, const Scan& want) {
    ASSERT_EQ(got.outcome.ok(), want.outcome.ok());
    if (want.outcome.ok()) {
        const ScanResult& a = got.outcome.result;
        const ScanResult& b = want.outcome.result;
        EXPECT_EQ(a.count, b.count);
        EXPECT_EQ(std::bit_cast<uint64_t>(a.peakI), std::bit_cast<uint64_t>(b.peakI)) << a.peakI << " " << b.peakI;
        EXPECT_EQ(std::bit_cast<uint64_t>(a.peakQ), std::bit_cast<uint64_t>(b.peakQ)) << a.peakQ << " " << b.peakQ;
        EXPECT_EQ(a.limitExceeded, b.limitExceeded);
    } else {
        EXPECT_EQ(got.outcome.error->fault, want.outcome.error->fault);
        EXPECT_EQ(got.outcome.error->position, want.outcome.error->position);
        EXPECT_EQ(got.outcome.error->detail, want.outcome.error->detail);
    }
    EXPECT_EQ(got.reports, want.reports);
}

struct TextCase {
    const char* name;
    std::vector<InputLayout> layouts;
    std::string text;
};

const std::vector<InputLayout> kFreeFormat = {InputLayout::SingleChannelText, InputLayout::FreeFormatIQText};
const std::vector<InputLayout> kAllText = {InputLayout::SingleChannelText, InputLayout::FreeFormatIQText,
                                           InputLayout::CsvIQText};

std::string repeated(const std::string& part, int times) {
    std::string out;
    for (int k = 0; k < times; ++k) out += part;
    return out;
}

std::vector<TextCase> edgeCases() {
    const std::string longNumber = "-0." + std::string(300, '0') + "25";
    const std::string pairs = repeated("0.5,-0.25\r\n1.5,2\n", 20);
    return {
        {"crlf", kAllText, repeated("0.125,-3\r\n7,0.5\r\n", 30)},
        {"blank lines", kFreeFormat, "\n\n1 2\n\n\n3 4\r\n\r\n" + repeated("5\t6\n\n", 25) + "\n"},
        {"blank line in csv", {InputLayout::CsvIQText}, pairs + "\n" + pairs},
        {"extra csv fields and blanks", {InputLayout::CsvIQText}, repeated(" 1 ,\t-2 ,x,9\n3,4,\r\n", 25)},
        {"no line end at the end", kAllText, pairs + "9,-10"},
        {"bad item early", kAllText, "1,x\n" + pairs},
        {"bad item late", kAllText, pairs + pairs + "1,2..5\n" + pairs},
        {"odd item count", kFreeFormat, repeated("1 2 3\n", 21) + "\n\n  \r\n"},
        {"odd count, last item alone", kFreeFormat, repeated("1 2\n", 30) + "\n\n7\n\n\n"},
        {"long items", kAllText, repeated(longNumber + "," + longNumber + "\n", 6)},
        {"long bad item", kAllText, pairs + longNumber + "x," + longNumber + "\n" + pairs},
        {"nan-like tokens", kAllText, pairs + "nan,inf\n" + pairs},
        {"infinity", kAllText, pairs + "-inf,1\n" + pairs},
        {"overflow", kAllText, pairs + "1e999,2\n" + pairs},
        {"every magnitude", kAllText,
         repeated("4.9e-324,-1e-300\n1.7976931348623157e308,-0\n123456789012345678901234567890,1e22\n"
                  "0.1,-1e23\n1e-999,2.5E+10\n",
                  8)},
        {"separators only", kFreeFormat, repeated(" ,\t\r\n", 40)},
        {"empty", kAllText, ""},
    };
}

std::string randomNumber(std::mt19937& random) {
    std::uniform_int_distribution<int> form(0, 5);
    std::uniform_int_distribution<int> exponent(-320, 310);
    std::uniform_real_distribution<double> unit(-1.0, 1.0);
    char text[64];
    switch (form(random)) {
    case 0: std::snprintf(text, sizeof text, "%.17ge%d", unit(random), exponent(random)); break;
    case 1: std::snprintf(text, sizeof text, "%d", static_cast<int>(random() % 200000) - 100000); break;
    case 2: return "0." + std::string(random() % 90, '0') + "3";
    default: std::snprintf(text, sizeof text, "%.6f", unit(random)); break;
    }
    return text;
}

// Records of I and Q; now and then a bad item instead of a number.
std::string randomText(std::mt19937& random, InputLayout layout, int records, int badChance) {
    const char* freeSeparators[] = {" ", "\t", ",", "\n", "\r\n", " , ", "\n\n", "  \t"};
    const char* lineEnds[] = {"\n", "\r\n"};
    const char* badItems[] = {"x", "1..2", "nan", "1e999", "-", "+inf"};
    std::string text;
    const int values = layout == InputLayout::CsvIQText ? 2 : 1 + static_cast<int>(random() % 2);
    for (int r = 0; r < records; ++r) {
        for (int v = 0; v < values; ++v) {
            const bool bad = badChance > 0 && static_cast<int>(random() % 1000) < badChance;
            text += bad ? badItems[random() % 6] : randomNumber(random);
            if (layout == InputLayout::CsvIQText)
                text += v == 0 ? "," : lineEnds[random() % 2];
            else
                text += freeSeparators[random() % 8];
        }
    }
    return text;
}

struct Split {
    unsigned threads;
    std::size_t chunkBytes;
    std::size_t pieceBytes;
};

// Pieces of one byte up to pieces longer than the text, chunks shorter and
// longer than the pieces.
constexpr Split kSplits[] = {
    {1, 100, 13},
    {2, 7, 1},
    {2, 1000, 13},
    {2, kDefaultChunkBytes, 200},
    {3, 64, 13},
    {3, 100, 1},
    {3, kDefaultChunkBytes, 1},
    {7, 500, 200},
    {7, 100, 13},
    {7, kDefaultChunkBytes, 13},
};

void expectThreadedScansMatch(const std::string& text, InputLayout layout) {
    for (int64_t limit : {kNoLimit, int64_t{4}, int64_t{17}}) {
        const Scan single = scanText(text, layout, 1, kDefaultChunkBytes, kDefaultPieceBytes, limit);
        for (const Split& split : kSplits) {
            SCOPED_TRACE("threads " + std::to_string(split.threads) + ", chunk " + std::to_string(split.chunkBytes) +
                         ", piece " + std::to_string(split.pieceBytes) + ", limit " + std::to_string(limit));
            expectSameScan(scanText(text, layout, split.threads, split.chunkBytes, split.pieceBytes, limit), single);
        }
    }
}

TEST(ThreadedTextScan, EdgeCasesMatchTheSingleThreadedScan) {
    for (const TextCase& c : edgeCases())
        for (InputLayout layout : c.layouts) {
            SCOPED_TRACE(std::string(c.name) + ", layout " + std::to_string(static_cast<int>(layout)));
            expectThreadedScansMatch(c.text, layout);
        }
}

TEST(ThreadedTextScan, GeneratedTextsMatchTheSingleThreadedScan) {
    std::mt19937 random(11);
    for (int round = 0; round < 12; ++round)
        for (InputLayout layout : kAllText) {
            const std::string text = randomText(random, layout, 1 + static_cast<int>(random() % 120), round % 3 * 3);
            SCOPED_TRACE("round " + std::to_string(round) + ", layout " + std::to_string(static_cast<int>(layout)));
            expectThreadedScansMatch(text, layout);
        }
}

// Files as loads see them: pieces of the default size, a bad item or the
// limit late in the file.
TEST(ThreadedTextScan, LargeTextsMatchTheSingleThreadedScan) {
    std::mt19937 random(5);
    for (InputLayout layout : kAllText) {
        const std::string text = randomText(random, layout, 60000, 0) + "1,x\n";
        for (int64_t limit : {kNoLimit, int64_t{45001}}) {
            const Scan single = scanText(text, layout, 1, kDefaultChunkBytes, kDefaultPieceBytes, limit);
            for (const Split& split : {Split{2, kDefaultChunkBytes, kDefaultPieceBytes}, Split{3, 1 << 20, 100'000}}) {
                SCOPED_TRACE("layout " + std::to_string(static_cast<int>(layout)) + ", threads " +
                             std::to_string(split.threads) + ", limit " + std::to_string(limit));
                expectSameScan(scanText(text, layout, split.threads, split.chunkBytes, split.pieceBytes, limit),
                               single);
            }
        }
    }
}

// The cut itself: pieces cover the chunk, each ends past a boundary (but the
// last), and an item longer than a piece stays whole.
TEST(ThreadedTextScan, PiecesEndAtItemBoundaries) {
    const auto lineEnd = [](const char* begin, const char* end) {
        for (const char* p = end; p != begin; --p)
            if (p[-1] == '\n') return p;
        return begin;
    };
    const std::string text = "a\nbb\n" + std::string(50, 'c') + "\nd\ne\nfff";
    for (std::size_t piece : {std::size_t{1}, std::size_t{3}, std::size_t{8}, std::size_t{30}, std::size_t{100}}) {
        SCOPED_TRACE("piece " + std::to_string(piece));
        const char* begin = text.data();
        const char* end = begin + text.size();
        const std::vector<const char*> ends = pieceEnds(begin, end, piece, lineEnd);
        ASSERT_FALSE(ends.empty());
        EXPECT_EQ(ends.back(), end);
        const char* from = begin;
        for (std::size_t k = 0; k < ends.size(); ++k) {
            EXPECT_GT(ends[k], from);
            if (k + 1 < ends.size()) {
                EXPECT_EQ(ends[k][-1], '\n');
            }
            from = ends[k];
        }
        EXPECT_EQ(ends.size() > 1, text.size() >= 2 * piece);
    }
}

}  // namespace
}  // namespace orvenda::input
