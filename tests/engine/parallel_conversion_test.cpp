// Conversions spread over threads, and IF conversions that keep the scan's
// shifted samples, write the same bytes as the single-threaded engine that
// shifts every sample in both passes: across block (1024) and chunk (65536)
// edges, for 1, 2, 3 and 7 threads, in memory and beyond the memory budget.
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <ostream>
#include <random>
#include <stdexcept>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "engine/shifted_store.h"
#include "engine/thread_count.h"
#include "engine/worker_team.h"
#include "tests/engine/conversion_test_support.h"

namespace halvik {
namespace {

enum class Form { Baseband, RealIf, ComplexShift };

struct Inputs {
    test::ScratchDir dir;
    std::string path;
};

// Float pairs with a few NaNs, which the scan's maximum must pass over; or
// the same values as two-column text, whose lines are parsed in batches.
void writeFloatPairs(const std::string& path, std::size_t samples, unsigned seed, bool asText = false) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<float> value(-2.0f, 2.0f);
    std::vector<float> pairs(2 * samples);
    for (float& v : pairs) v = value(random);
    for (std::size_t k = 777; k < pairs.size(); k += 40'009) pairs[k] = std::nanf("");
    if (!asText) {
        test::writeFile(path, test::bytesOf(pairs));
        return;
    }
    std::string text;
    char line[64];
    for (std::size_t k = 0; k + 1 < pairs.size(); k += 2) {
        std::snprintf(line, sizeof line, "%.9g\t%.9g\n", static_cast<double>(pairs[k]),
                      static_cast<double>(pairs[k + 1]));
        text += line;
    }
    test::writeFile(path, text);
}

test::Call callFor(const std::string& input, std::size_t samples, Form form, const std::string& out) {
    test::Call call;
    call.iPath = input;
    call.dataType = 3;
    call.fileKind = 4;
    call.sampleCount = static_cast<int32_t>(samples);
    call.peak = 1.5;
    call.settings.AWGGain = 0.9;
    call.settings.MarkerFlags = 0x6;
    call.marker1[0] = {1000, 1};
    call.marker1[1] = {70'000, 0};
    call.marker2[0] = {65'536, 1};
    if (form != Form::Baseband) {
        call.settings.IFConvert = 1;
        call.settings.IFMode = form == Form::RealIf ? 0 : 1;
        call.settings.Fs = 100e6;
        call.settings.IFFreq = 12.3e6;
    }
    call.outPath = out;
    return call;
}

std::string convertWith(const test::Call& base, int threads, bool twoPass) {
    test::Call call = base;
    call.threads = threads;
    call.ifTwoPass = twoPass;
    if (call.run() != 0) return "failed";
    return test::withoutDateLine(test::readFile(call.outPath));
}

struct Row {
    const char* name;
    Form form;
    std::size_t samples;
    bool text = false;
};

// Rows are named in test output by their name, not by a dump of their bytes.
void PrintTo(const Row& row, std::ostream* os) { *os << row.name; }

class ThreadedConversion : public ::testing::TestWithParam<Row> {};

TEST_P(ThreadedConversion, EveryThreadCountWritesTheSingleThreadedTwoPassBytes) {
    const Row& row = GetParam();
    test::ScratchDir dir;
    writeFloatPairs(dir.file("iq.bin"), row.samples, static_cast<unsigned>(row.samples), row.text);
    test::Call call = callFor(dir.file("iq.bin"), row.samples, row.form, dir.file("out.awv"));
    if (row.text) call.dataType = 1;
    const std::string reference = convertWith(call, 1, true);
    ASSERT_NE(reference, "failed");
    for (int threads : {1, 2, 3, 7}) {
        EXPECT_TRUE(convertWith(call, threads, false) == reference) << threads << " threads";
    }
    EXPECT_TRUE(convertWith(call, 3, true) == reference) << "two passes, 3 threads";
    std::vector<std::string> left = dir.entries();
    EXPECT_EQ(left.size(), 2u) << "only the input and the output remain";
}

INSTANTIATE_TEST_SUITE_P(
    Lengths, ThreadedConversion,
    ::testing::Values(Row{"RealOne", Form::RealIf, 1}, Row{"RealBlockMinus1", Form::RealIf, 1023},
                      Row{"RealBlockPlus1", Form::RealIf, 1025}, Row{"RealChunkMinus1", Form::RealIf, 65'535},
                      Row{"RealChunk", Form::RealIf, 65'536}, Row{"RealTwoChunksPlus1", Form::RealIf, 131'073},
                      Row{"ShiftBlock", Form::ComplexShift, 1024}, Row{"ShiftBlockPlus1", Form::ComplexShift, 2049},
                      Row{"ShiftChunkPlus1", Form::ComplexShift, 65'537},
                      Row{"ShiftChunksMinus1", Form::ComplexShift, 3 * 65'536 - 1},
                      Row{"BasebandBlockMinus1", Form::Baseband, 4095},
                      Row{"BasebandChunkPlus1", Form::Baseband, 65'537},
                      Row{"TextBasebandPastABatch", Form::Baseband, 200'001, true},
                      Row{"TextRealChunkMinus1", Form::RealIf, 65'535, true}),
    test::RowName());

// Beyond the memory budget the shifted samples go to the spill file; it
// leaves nothing behind in the output's folder.
TEST(ThreadedConversion, BeyondTheMemoryBudgetTheSpilledSamplesGiveTheSameBytes) {
    const std::size_t samples = ShiftedStore::kMemoryBudget / (2 * sizeof(double)) + 1025;
    test::ScratchDir dir;
    writeFloatPairs(dir.file("iq.bin"), samples, 5);
    const test::Call call = callFor(dir.file("iq.bin"), samples, Form::ComplexShift, dir.file("out.awv"));
    const std::string reference = convertWith(call, 1, true);
    ASSERT_NE(reference, "failed");
    EXPECT_TRUE(convertWith(call, 2, false) == reference);
    EXPECT_TRUE(convertWith(call, 1, false) == reference);
    EXPECT_EQ(dir.entries().size(), 2u);
}

TEST(ShiftedStore, ReadsBackAcrossMemoryPiecesAndTheSpillFileInOrder) {
    test::ScratchDir dir;
    const std::size_t budgetValues = ShiftedStore::kPieceValues + 100;
    ShiftedStore store(dir.path().string(), budgetValues * sizeof(double));
    std::vector<double> values(3 * ShiftedStore::kPieceValues + 7);
    for (std::size_t k = 0; k < values.size(); ++k) values[k] = static_cast<double>(k) * 0.5 - 3.0;
    std::size_t at = 0;
    for (std::size_t step : {std::size_t{1}, ShiftedStore::kPieceValues, std::size_t{98}, std::size_t{5000}}) {
        ASSERT_TRUE(store.append(values.data() + at, step));
        at += step;
    }
    ASSERT_TRUE(store.append(values.data() + at, values.size() - at));
    EXPECT_TRUE(store.spilled());
    EXPECT_TRUE(dir.entries().empty()) << "the spill file has no name";
    std::vector<double> back(values.size());
    at = 0;
    for (std::size_t step : {std::size_t{65'536}, std::size_t{70'000}, std::size_t{3}}) {
        ASSERT_TRUE(store.read(back.data() + at, step));
        at += step;
    }
    ASSERT_TRUE(store.read(back.data() + at, back.size() - at));
    EXPECT_EQ(back, values);
    double extra = 0.0;
    EXPECT_FALSE(store.read(&extra, 1)) << "nothing is left";
}

TEST(ShiftedStore, AFolderWithoutRoomForTheSpillFileFailsTheStore) {
    ShiftedStore store("/nonexistent-folder-of-halvik", 8 * sizeof(double));
    std::vector<double> values(16, 1.0);
    EXPECT_TRUE(store.append(values.data(), 8));
    EXPECT_FALSE(store.append(values.data(), 8));
    EXPECT_TRUE(store.failed());
}

TEST(WorkerTeam, EveryPieceRunsOnceForAnyTeamSizeAndRound) {
    for (unsigned threads : {0u, 1u, 2u, 3u, 7u}) {
        WorkerTeam team(threads);
        EXPECT_GE(team.size(), 1u);
        for (std::size_t pieces : {std::size_t{0}, std::size_t{1}, std::size_t{5}, std::size_t{64}}) {
            std::vector<std::atomic<int>> runs(pieces);
            for (int round = 0; round < 3; ++round) {
                team.run(pieces, [&](std::size_t piece) { runs[piece].fetch_add(1); });
            }
            for (std::size_t piece = 0; piece < pieces; ++piece) {
                EXPECT_EQ(runs[piece].load(), 3) << threads << " threads, piece " << piece;
            }
        }
    }
}

TEST(WorkerTeam, AnExceptionOfAnyPieceReachesTheCallerAndTheTeamGoesOn) {
    for (unsigned threads : {1u, 2u, 7u}) {
        WorkerTeam team(threads);
        for (std::size_t failing : {std::size_t{0}, std::size_t{9}}) {
            EXPECT_THROW(team.run(10,
                                  [&](std::size_t piece) {
                                      if (piece == failing) throw std::runtime_error("piece failed");
                                  }),
                         std::runtime_error)
                << threads << " threads";
        }
        std::atomic<int> runs{0};
        team.run(5, [&](std::size_t) { runs.fetch_add(1); });
        EXPECT_EQ(runs.load(), 5);
    }
}

class ThreadsVariable : public ::testing::Test {
protected:
    void TearDown() override { ::unsetenv("HALVIK_THREADS"); }
};

TEST_F(ThreadsVariable, CapsTheThreadsWhenItIsAWholeNumberInRange) {
    unsigned cores = std::max(1u, std::min(std::thread::hardware_concurrency(), kMaxThreads));
    struct Case {
        const char* text;
        unsigned expected;
    };
    for (Case c : {Case{"1", 1}, Case{"3", 3}, Case{"256", 256}, Case{"0", cores}, Case{"257", cores},
                   Case{"2x", cores}, Case{"", cores}, Case{"-2", cores}, Case{" 2", cores}}) {
        ::setenv("HALVIK_THREADS", c.text, 1);
        EXPECT_EQ(conversionThreads(), c.expected) << "'" << c.text << "'";
    }
    ::setenv("HALVIK_THREADS", "5", 1);
    EXPECT_EQ(conversionThreads(2), 2u) << "an explicit count wins";
    ::unsetenv("HALVIK_THREADS");
    EXPECT_EQ(conversionThreads(), cores);
}

}  // namespace
}  // namespace halvik
