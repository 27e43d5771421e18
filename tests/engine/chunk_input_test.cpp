// Text read a chunk at a time (gathered, then parsed block by block, as the
// conversion spreads it over its threads) yields the line readers' values,
// line for line: empty lines, CR LF, items that are not numbers, lines longer
// than the kept head or than a whole batch, a last line without a line feed,
// batch edges anywhere in a line, and lines that overflow a chunk's room.
#include <cmath>
#include <cstring>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engine/chunk_input.h"
#include "engine/line_batches.h"
#include "engine/sample_readers.h"
#include "engine/text_lines.h"

namespace halvik {
namespace {

std::span<const std::byte> asBytes(const std::string& text) {
    return std::as_bytes(std::span(text.data(), text.size()));
}

SourceOpener openerOf(const std::string& iText, const std::string& qText) {
    return [&](const std::string& path) -> std::unique_ptr<ByteSource> {
        return std::make_unique<MemoryByteSource>(asBytes(path == "I" ? iText : qText));
    };
}

void appendBits(std::vector<uint64_t>& bits, const double* i, const double* q, std::size_t n) {
    for (std::size_t k = 0; k < n; ++k) {
        uint64_t a, b;
        std::memcpy(&a, &i[k], 8);
        std::memcpy(&b, &q[k], 8);
        bits.push_back(a);
        bits.push_back(b);
    }
}

// Every value of both channels from the line readers, bit for bit.
std::vector<uint64_t> readByLines(const std::string& iText, const std::string& qText, int32_t kind,
                                  std::size_t samples) {
    std::optional<InputSet> inputs = InputSet::open("I", "Q", HALVIK_TYPE_TEXT, kind, openerOf(iText, qText));
    std::vector<uint64_t> bits;
    if (!inputs) return bits;
    std::vector<double> i(samples), q(samples);
    inputs->readBlock(i, q);
    appendBits(bits, i.data(), q.data(), samples);
    return bits;
}

// The same a chunk at a time, as the conversion reads with two work areas:
// the next chunk is gathered before the current one is decoded, and the
// blocks are decoded in no particular order.
std::vector<uint64_t> readByChunks(const std::string& iText, const std::string& qText, int32_t kind,
                                   std::size_t samples, ChunkShape shape, std::size_t bytesPerSample) {
    std::unique_ptr<ChunkInput> input = ChunkInput::open("I", "Q", HALVIK_TYPE_TEXT, kind, openerOf(iText, qText), 2,
                                                         shape.length, false, bytesPerSample);
    std::vector<uint64_t> bits;
    if (!input) return bits;
    std::vector<double> i[2], q[2];
    ChunkShape shapes[2];
    auto gather = [&](std::size_t chunk) {
        const std::size_t slot = chunk % 2;
        shapes[slot] = {shape.blockSize, std::min(shape.length, samples - chunk * shape.length)};
        i[slot].assign(shapes[slot].length, 12345.5);  // stale values must all be overwritten
        q[slot].assign(shapes[slot].length, -6789.25);
        input->gather(slot, shapes[slot], i[slot].data(), q[slot].data());
    };
    const std::size_t chunks = (samples + shape.length - 1) / shape.length;
    gather(0);
    for (std::size_t chunk = 0; chunk < chunks; ++chunk) {
        if (chunk + 1 < chunks) gather(chunk + 1);
        const std::size_t slot = chunk % 2;
        const std::size_t blocks = shapes[slot].blocks();
        for (std::size_t n = 0; n < blocks; ++n) {
            input->decode(slot, shapes[slot], chunk % 2 ? blocks - 1 - n : n, i[slot].data(), q[slot].data());
        }
        appendBits(bits, i[slot].data(), q[slot].data(), shapes[slot].length);
    }
    return bits;
}

// Lines of every kind the readers meet, in random order.
std::string awkwardText(std::size_t lines, unsigned seed, bool twoColumns) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> value(-1.0, 1.0);
    std::string text;
    char number[64];
    for (std::size_t k = 0; k < lines; ++k) {
        if (k % 20'000 == 7) {  // a few lines longer than the kept head
            text += "0.5" + std::string(70'000, ' ') + "0.25\n";
            continue;
        }
        switch (random() % 12) {
        case 0: text += "\n"; break;
        case 1: text += "abc\r\n"; break;
        case 2: text += "1e400\n"; break;
        case 3: text += "-0,5\t\t1\n"; break;
        default:
            std::snprintf(number, sizeof number, twoColumns ? "%.6f\t%.6f\r\n" : "%.9g\n", value(random),
                          value(random));
            text += number;
        }
    }
    return text;
}

struct Row {
    const char* name;
    int32_t kind;
};

// Rows are named in test output by their name, not by a dump of their bytes.
void PrintTo(const Row& row, std::ostream* os) { *os << row.name; }

class ChunkedText : public ::testing::TestWithParam<Row> {};

TEST_P(ChunkedText, ReadsTheLineReadersValues) {
    const int32_t kind = GetParam().kind;
    const bool twoColumns = kind == HALVIK_KIND_IQ_FILE;
    // Past two batches, and a last line without its line feed.
    const std::string iText = awkwardText(200'000, 1, twoColumns) + "0.125";
    const std::string qText = awkwardText(150'000, 2, twoColumns);
    const std::size_t samples = 205'000;  // more than the lines: the ends give zeros
    const auto reference = readByLines(iText, qText, kind, samples);
    ASSERT_EQ(reference.size(), 2 * samples);
    struct Shape {
        std::size_t blockSize, chunkLength, bytesPerSample;
    };
    // Chunks of many and of few blocks, short last blocks, and rooms from
    // ample down to none (every line parsed while gathered).
    for (Shape s : {Shape{1024, 131'072, ChunkInput::kTextBytesPerSample}, Shape{1023, 8 * 1023 + 5, 64},
                    Shape{1025, 3 * 1025, 12}, Shape{1024, 4096, 0}, Shape{7, 7 * 9, 30}}) {
        EXPECT_TRUE(readByChunks(iText, qText, kind, samples, {s.blockSize, s.chunkLength}, s.bytesPerSample) ==
                    reference)
            << "blocks of " << s.blockSize << ", chunks of " << s.chunkLength << ", room " << s.bytesPerSample;
    }
}

INSTANTIATE_TEST_SUITE_P(Kinds, ChunkedText,
                         ::testing::Values(Row{"TwoColumn", HALVIK_KIND_IQ_FILE}, Row{"IOnly", HALVIK_KIND_I_FILE},
                                           Row{"QOnly", HALVIK_KIND_Q_FILE},
                                           Row{"IAndQ", HALVIK_KIND_I_FILE | HALVIK_KIND_Q_FILE}),
                         [](const ::testing::TestParamInfo<Row>& row) { return std::string(row.param.name); });

TEST(LeadingLines, CountsWholeLinesAndALastOneWithoutALineFeed) {
    const std::string line63 = std::string(62, 'x') + "\n";
    struct Case {
        std::string text;
        std::size_t most;
        LeadingLines expected;
    };
    for (const Case& c :
         {Case{"", 3, {0, 0}}, Case{"a\nb", 0, {0, 0}}, Case{"a\nb", 1, {2, 1}}, Case{"a\nb", 5, {3, 2}},
          Case{std::string(128, 'x'), 2, {128, 1}}, Case{std::string(64, 'x'), 1, {64, 1}},
          Case{line63 + "y\n" + std::string(126, 'z'), 3, {191, 3}},
          Case{line63 + "y\n" + std::string(126, 'z'), 2, {65, 2}}, Case{std::string(200, '\n'), 130, {130, 130}},
          Case{std::string(128, '\n'), 200, {128, 128}}}) {
        const LeadingLines got = leadingLines(c.text, c.most);
        EXPECT_EQ(got.bytes, c.expected.bytes) << c.text.size() << " bytes, " << c.most;
        EXPECT_EQ(got.count, c.expected.count) << c.text.size() << " bytes, " << c.most;
    }
}

std::vector<std::string> linesOfBatches(const std::string& text) {
    MemoryByteSource source(asBytes(text));
    LineBatches batches(source);
    std::vector<std::string> lines;
    std::string_view batch;
    while (batches.next(batch)) {
        while (!batch.empty()) {
            const LeadingLines line = leadingLines(batch, 1);
            std::string_view kept = batch.substr(0, line.bytes);
            if (!kept.empty() && kept.back() == '\n') kept.remove_suffix(1);
            lines.emplace_back(kept);
            batch.remove_prefix(line.bytes);
        }
    }
    return lines;
}

TEST(LineBatches, CutsLinesAsTheLineReaderDoes) {
    const std::string longerThanABatch = "0.75" + std::string(LineBatches::kBufferSize + 5, ' ') + "x";
    struct Case {
        std::string text;
        std::vector<std::string> lines;
    };
    const std::string head = "0.75" + std::string(LineReader::kMaxKeptLength - 4, ' ');
    for (const Case& c : {Case{"a\n\nbc\nd", {"a", "", "bc", "d"}}, Case{"a\n", {"a"}}, Case{"", {}},
                          Case{"\n\n", {"", ""}}, Case{longerThanABatch + "\n0.5\n", {head, "0.5"}},
                          Case{longerThanABatch, {head}}, Case{"1\n" + longerThanABatch + "\n", {"1", head}}}) {
        EXPECT_EQ(linesOfBatches(c.text), c.lines);
    }
}

}  // namespace
}  // namespace halvik
