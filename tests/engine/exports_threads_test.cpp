// The library called from several threads at once, as a thread pool of a
// script calls it: every call succeeds and writes exactly the bytes the same
// call writes alone. Also run under ThreadSanitizer (scripts/tsan-tests.sh).
#include <algorithm>
#include <atomic>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

#include "tests/engine/engine_test_support.h"
#include "tests/engine/library_jobs.h"

namespace halvik {
namespace {

constexpr int kThreads = 4;
constexpr int kRoundsPerThread = 12;  // each round runs every job once

struct CallRecord {
    std::size_t job;
    int32_t result;
    std::string file;
};

TEST(ExportsOnThreads, ConcurrentCallsWriteWhatLoneCallsWrite) {
    test::ScratchDir dir;
    const std::vector<test::LibraryJob> jobs = test::libraryJobs(dir);
    std::vector<std::string> alone;
    for (const test::LibraryJob& job : jobs) {
        ASSERT_EQ(job.run(dir.file(job.name + ".alone.awv")), 0) << job.name;
        alone.push_back(test::readFile(dir.file(job.name + ".alone.awv")));
    }

    // Each thread starts at another job, so different kinds of call overlap;
    // the checks run on this thread once all are done.
    std::vector<std::vector<CallRecord>> records(kThreads);
    std::atomic<int> ready{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            ready.fetch_add(1);
            while (ready.load() < kThreads) std::this_thread::yield();
            for (int round = 0; round < kRoundsPerThread; ++round) {
                for (std::size_t k = 0; k < jobs.size(); ++k) {
                    const std::size_t job = (k + static_cast<std::size_t>(t)) % jobs.size();
                    const std::string out =
                        dir.file(jobs[job].name + "." + std::to_string(t) + "-" + std::to_string(round % 2) + ".awv");
                    const int32_t result = jobs[job].run(out);
                    records[t].push_back({job, result, test::readFile(out)});
                }
            }
        });
    }
    for (std::thread& thread : threads) thread.join();

    std::size_t calls = 0;
    for (int t = 0; t < kThreads; ++t) {
        for (const CallRecord& call : records[t]) {
            SCOPED_TRACE(jobs[call.job].name + " on thread " + std::to_string(t));
            ASSERT_EQ(call.result, 0);
            test::expectSameWaveform(call.file, alone[call.job]);
            ++calls;
        }
    }
    EXPECT_EQ(calls, std::size_t{kThreads} * kRoundsPerThread * jobs.size());
    // Only the outputs and the inputs: no temporary file is left behind.
    EXPECT_EQ(dir.entries().size(), 5 + jobs.size() * (1 + kThreads * 2));
}

// Many small conversions, where starting and ending the progress window
// is most of the work: the case that used to crash.
TEST(ExportsOnThreads, ManySmallCallsAtOnce) {
    constexpr int kCallsPerThread = 300;
    test::ScratchDir dir;
    test::writeFile(dir.file("small.txt"), "0.5 -0.25\n1 0\n-1 0.75\n0 1\n");
    std::vector<MarkerPoint> markers(1001, MarkerPoint{0, 0});
    markers[0] = {1, 1};
    ConversionSettings settings = test::quietSettings();
    settings.MarkerFlags = 0x42;
    settings.Fs = 12.5e6;
    auto convert = [&](const std::string& out) {
        return Halvik(dir.file("small.txt").c_str(), nullptr, HALVIK_TYPE_TEXT, HALVIK_KIND_IQ_FILE, markers.data(),
                      markers.data(), 4, 1.0, &settings, out.c_str());
    };
    ASSERT_EQ(convert(dir.file("alone.awv")), 0);
    const std::string alone = test::readFile(dir.file("alone.awv"));

    std::vector<std::vector<int32_t>> results(kThreads);
    std::vector<int> differing(kThreads, 0);
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            const std::string out = dir.file("small-" + std::to_string(t) + ".awv");
            for (int k = 0; k < kCallsPerThread; ++k) {
                results[t].push_back(convert(out));
                if (test::withoutDateLine(test::readFile(out)) != test::withoutDateLine(alone)) ++differing[t];
            }
        });
    }
    for (std::thread& thread : threads) thread.join();
    for (int t = 0; t < kThreads; ++t) {
        EXPECT_EQ(std::count(results[t].begin(), results[t].end(), 0), kCallsPerThread) << "thread " << t;
        EXPECT_EQ(differing[t], 0) << "thread " << t;
    }
    EXPECT_EQ(dir.entries().size(), 2u + kThreads);
}

// A failing call (no input file) on one thread does not disturb a good one
// on another, nor leave anything behind.
TEST(ExportsOnThreads, FailuresStayWithTheirOwnCall) {
    test::ScratchDir dir;
    const std::vector<test::LibraryJob> jobs = test::libraryJobs(dir);
    ASSERT_EQ(jobs[0].run(dir.file("alone.awv")), 0);
    const std::string alone = test::readFile(dir.file("alone.awv"));
    std::vector<int32_t> good, bad;
    std::thread failing([&] {
        ConversionSettings settings = test::quietSettings();
        MarkerPoint none[99] = {};
        for (int k = 0; k < 100; ++k)
            bad.push_back(Halvik(dir.file("missing.txt").c_str(), nullptr, 1, 4, none, none, 10, 1.0, &settings,
                                 dir.file("bad.awv").c_str()));
    });
    std::vector<std::string> files;
    for (int k = 0; k < 20; ++k) {
        good.push_back(jobs[0].run(dir.file("good.awv")));
        files.push_back(test::readFile(dir.file("good.awv")));
    }
    failing.join();
    for (int32_t result : bad) EXPECT_EQ(result, -1);
    for (int32_t result : good) EXPECT_EQ(result, 0);
    for (const std::string& file : files) test::expectSameWaveform(file, alone);
    EXPECT_FALSE(std::filesystem::exists(dir.file("bad.awv")));
}

}  // namespace
}  // namespace halvik
