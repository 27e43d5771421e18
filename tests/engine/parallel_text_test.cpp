// Text parsed on several threads yields the single-threaded readers' values,
// line for line: empty lines, CR LF, items that are not numbers, lines longer
// than the kept head or than a whole batch, a last line without a line feed,
// and batch edges that fall anywhere in a line.
#include <cmath>
#include <cstring>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engine/line_batches.h"
#include "engine/sample_readers.h"
#include "engine/worker_team.h"

namespace halvik {
namespace {

std::span<const std::byte> asBytes(const std::string& text) {
    return std::as_bytes(std::span(text.data(), text.size()));
}

// Every value of both channels, read in blocks of blockSize, bit for bit.
std::vector<uint64_t> readAll(const std::string& iText, const std::string& qText, int32_t kind, WorkerTeam* team,
                              std::size_t samples, std::size_t blockSize) {
    SourceOpener opener = [&](const std::string& path) -> std::unique_ptr<ByteSource> {
        return std::make_unique<MemoryByteSource>(asBytes(path == "I" ? iText : qText));
    };
    std::optional<InputSet> inputs = InputSet::open("I", "Q", HALVIK_TYPE_TEXT, kind, opener, team);
    std::vector<uint64_t> bits;
    if (!inputs) return bits;
    std::vector<double> i(blockSize), q(blockSize);
    for (std::size_t done = 0; done < samples; done += blockSize) {
        std::size_t n = std::min(blockSize, samples - done);
        inputs->readBlock(std::span(i.data(), n), std::span(q.data(), n));
        for (std::size_t k = 0; k < n; ++k) {
            uint64_t a, b;
            std::memcpy(&a, &i[k], 8);
            std::memcpy(&b, &q[k], 8);
            bits.push_back(a);
            bits.push_back(b);
        }
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

class ParallelText : public ::testing::TestWithParam<Row> {};

TEST_P(ParallelText, EveryTeamSizeReadsTheSingleThreadedValues) {
    const int32_t kind = GetParam().kind;
    const bool twoColumns = kind == HALVIK_KIND_IQ_FILE;
    // Past two batches, and a last line without its line feed.
    const std::string iText = awkwardText(200'000, 1, twoColumns) + "0.125";
    const std::string qText = awkwardText(150'000, 2, twoColumns);
    const std::size_t samples = 205'000;  // more than the lines: the ends give zeros
    for (std::size_t blockSize : {std::size_t{1023}, std::size_t{1024}, std::size_t{1025}}) {
        const auto reference = readAll(iText, qText, kind, nullptr, samples, blockSize);
        ASSERT_EQ(reference.size(), 2 * samples);
        for (unsigned threads : {2u, 3u, 7u}) {
            WorkerTeam team(threads);
            EXPECT_TRUE(readAll(iText, qText, kind, &team, samples, blockSize) == reference)
                << threads << " threads, blocks of " << blockSize;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Kinds, ParallelText,
                         ::testing::Values(Row{"TwoColumn", HALVIK_KIND_IQ_FILE}, Row{"IOnly", HALVIK_KIND_I_FILE},
                                           Row{"IAndQ", HALVIK_KIND_I_FILE | HALVIK_KIND_Q_FILE}),
                         [](const ::testing::TestParamInfo<Row>& row) { return std::string(row.param.name); });

std::vector<std::string> linesOfBatches(const std::string& text) {
    MemoryByteSource source(asBytes(text));
    LineBatches batches(source);
    std::vector<std::string> lines;
    std::string_view batch;
    while (batches.next(batch)) {
        for (std::string_view piece : splitAtLines(batch, 3)) {
            forEachLine(piece, [&](std::string_view line) { lines.emplace_back(line); });
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
