// Conversions spread over threads, with reading overlapped and the IF scan
// skipping samples that cannot set the peak, write the same bytes as the
// single-threaded engine that shifts every sample in both passes: across
// block (1024) and chunk (131072) edges, for 1, 2, 3 and 7 threads.
#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ostream>
#include <random>
#include <stdexcept>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "engine/if_conversion.h"
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
// the same values as two-column text, gathered in chunks and parsed block by
// block (the reference reads it line by line).
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

std::string convertWith(const test::Call& base, int threads, bool reference) {
    test::Call call = base;
    call.threads = threads;
    call.reference = reference;
    if (call.run() != 0) return "failed";
    return test::withoutDateLine(test::readFile(call.outPath));
}

struct Row {
    const char* name;
    Form form;
    std::size_t samples;
    bool text = false;
    std::size_t written = 0;  // samples in the file when fewer (the rest reads 0)
};

// Rows are named in test output by their name, not by a dump of their bytes.
void PrintTo(const Row& row, std::ostream* os) { *os << row.name; }

class ThreadedConversion : public ::testing::TestWithParam<Row> {};

TEST_P(ThreadedConversion, EveryThreadCountWritesTheReferenceBytes) {
    const Row& row = GetParam();
    test::ScratchDir dir;
    writeFloatPairs(dir.file("iq.bin"), row.written != 0 ? row.written : row.samples,
                    static_cast<unsigned>(row.samples), row.text);
    test::Call call = callFor(dir.file("iq.bin"), row.samples, row.form, dir.file("out.awv"));
    if (row.text) call.dataType = 1;
    const std::string reference = convertWith(call, 1, true);
    ASSERT_NE(reference, "failed");
    for (int threads : {1, 2, 3, 7}) {
        EXPECT_TRUE(convertWith(call, threads, false) == reference) << threads << " threads";
    }
    EXPECT_TRUE(convertWith(call, 3, true) == reference) << "the reference on 3 threads";
    std::vector<std::string> left = dir.entries();
    EXPECT_EQ(left.size(), 2u) << "only the input and the output remain";
}

INSTANTIATE_TEST_SUITE_P(
    Lengths, ThreadedConversion,
    ::testing::Values(Row{"RealOne", Form::RealIf, 1}, Row{"RealBlockMinus1", Form::RealIf, 1023},
                      Row{"RealBlockPlus1", Form::RealIf, 1025}, Row{"RealChunkMinus1", Form::RealIf, 131'071},
                      Row{"RealChunk", Form::RealIf, 131'072}, Row{"RealTwoChunksPlus1", Form::RealIf, 262'145},
                      Row{"ShiftBlock", Form::ComplexShift, 1024}, Row{"ShiftBlockPlus1", Form::ComplexShift, 2049},
                      Row{"ShiftChunkPlus1", Form::ComplexShift, 131'073},
                      Row{"ShiftChunksMinus1", Form::ComplexShift, 3 * 131'072 - 1},
                      Row{"BasebandBlockMinus1", Form::Baseband, 4095},
                      Row{"BasebandChunkPlus1", Form::Baseband, 131'073},
                      Row{"TextBasebandPastABatch", Form::Baseband, 200'001, true},
                      Row{"TextRealChunkMinus1", Form::RealIf, 131'071, true},
                      Row{"TextEndsEarly", Form::ComplexShift, 140'001, true, 70'001},
                      Row{"ShiftFileEndsEarly", Form::ComplexShift, 300'001, false, 150'001}),
    test::RowName());

// The scan's peak search skips samples that cannot win; it must still find
// the exact largest shifted magnitude that shifting every sample gives.
TEST(ShiftedPeak, EqualsTheLargestMagnitudeOfEverySampleShifted) {
    struct Signal {
        const char* name;
        std::vector<double> i, q;
    };
    std::mt19937 random(11);
    std::normal_distribution<double> noise(0.0, 0.3);
    std::vector<Signal> signals;
    Signal tone{"constant-envelope tone", {}, {}};
    Signal gaussian{"noise with one spike", {}, {}};
    Signal odd{"NaN, infinity, subnormals and zeros", {}, {}};
    for (int k = 0; k < 5000; ++k) {
        tone.i.push_back(std::cos(0.01 * k));
        tone.q.push_back(std::sin(0.01 * k));
        gaussian.i.push_back(noise(random));
        gaussian.q.push_back(noise(random));
        odd.i.push_back(k % 7 == 0 ? 4.9e-324 * k : 0.0);
        odd.q.push_back(k % 11 == 0 ? -1e-310 : 0.0);
    }
    gaussian.i[4321] = -3.5;
    odd.i[100] = std::nan("");
    odd.q[2000] = std::nan("");
    signals.push_back(tone);
    signals.push_back(gaussian);
    signals.push_back(odd);
    Signal infinite = odd;
    infinite.name = "an infinite sample";
    infinite.q[3000] = -INFINITY;
    signals.push_back(infinite);

    const double step = phaseStep(12.3e6, 100e6);
    for (const Signal& signal : signals) {
        for (int32_t mode : {0, 1}) {
            std::vector<double> i = signal.i, q = signal.q;
            convertToIf(i.data(), q.data(), i.size(), 70'000, step, mode);
            double expected = 0.0;
            for (std::size_t k = 0; k < i.size(); ++k) {
                expected = std::max(expected, std::fabs(i[k]));
                if (mode != 0) expected = std::max(expected, std::fabs(q[k]));
            }
            for (double floor : {0.0, expected / 2}) {
                double found =
                    shiftedPeak(signal.i.data(), signal.q.data(), signal.i.size(), 70'000, step, mode, floor);
                EXPECT_EQ(found, expected) << signal.name << ", mode " << mode << ", floor " << floor;
            }
            if (expected < 7.0) {
                EXPECT_EQ(shiftedPeak(signal.i.data(), signal.q.data(), signal.i.size(), 70'000, step, mode, 7.0), 7.0)
                    << signal.name << ": a higher floor stands";
            }
        }
    }
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
