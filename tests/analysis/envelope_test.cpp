// The time view's envelope: a single sample among 67 million survives every
// zoom, columns tile the range exactly, and a long pass stops on Cancel.
#include <atomic>
#include <chrono>
#include <random>
#include <thread>

#include <gtest/gtest.h>

#include "core/analysis/envelope.h"
#include "core/analysis/signal_analysis.h"
#include "tests/analysis/signal_sources.h"

namespace orvenda::analysis {
namespace {

constexpr std::uint64_t kLongSize = 67'108'864;

// Exactly one column holds the spike, with its values and marker; every
// other column is flat zero with the marker low.
void expectSpikeSurvives(const Envelope& envelope, std::uint64_t at) {
    ASSERT_TRUE(envelope.status.done());
    std::size_t holding = 0;
    for (const EnvelopeColumn& column : envelope.columns) {
        if (at >= column.first && at < column.end) {
            ++holding;
            EXPECT_EQ(column.maxI, 8191);
            EXPECT_EQ(column.minQ, -8191);
            EXPECT_NEAR(column.maxMagnitude, 8191 * std::sqrt(2.0f), 0.01);
            EXPECT_TRUE(column.markersHigh & kMarker1);
        } else {
            ASSERT_EQ(column.maxI, 0) << "column " << column.first;
            ASSERT_EQ(column.markersHigh, 0);
        }
    }
    EXPECT_EQ(holding, 1u);
}

TEST(Envelope, SingleSpikeSurvivesEveryZoom) {
    std::mt19937_64 random(14);
    for (int trial = 0; trial < 3; ++trial) {
        const std::uint64_t at = random() % kLongSize;
        auto source = test::spike(kLongSize, at);
        expectSpikeSurvives(computeEnvelope(source, 0, kLongSize, 1920), at);
        for (std::uint64_t width = 10'000'000; width >= 3; width /= 7) {
            const std::uint64_t begin = at > width / 3 ? at - width / 3 : 0;
            for (std::size_t columns : {997u, 1920u}) {
                Envelope envelope = computeEnvelope(source, begin, begin + width, columns);
                expectSpikeSurvives(envelope, at);
                EXPECT_EQ(envelope.columns.size(),
                          std::min<std::uint64_t>(columns, std::min(width, kLongSize - begin)));
            }
        }
    }
}

TEST(Envelope, AKeptCursorGivesTheSameColumns) {
    const std::uint64_t at = 5'000'000;
    auto source = test::spike(10'000'000, at);
    auto cursor = source.openCursor();
    for (std::uint64_t begin : {4'000'000u, 4'500'000u, 100u, 4'999'999u}) {
        Envelope kept = computeEnvelope(source, *cursor, begin, begin + 1'000'000, 640);
        Envelope fresh = computeEnvelope(source, begin, begin + 1'000'000, 640);
        ASSERT_EQ(kept.columns.size(), fresh.columns.size());
        for (std::size_t c = 0; c < kept.columns.size(); ++c) {
            EXPECT_EQ(kept.columns[c].maxI, fresh.columns[c].maxI);
            EXPECT_EQ(kept.columns[c].first, fresh.columns[c].first);
        }
        if (begin <= at && at < begin + 1'000'000) expectSpikeSurvives(kept, at);
    }
}

TEST(Envelope, OverviewOfTheWholePassKeepsTheSpike) {
    const std::uint64_t at = kLongSize - 12345;
    auto source = test::spike(kLongSize, at);
    AnalysisSettings settings;
    settings.overviewColumns = 1500;
    AnalysisResult result = analyse(source, settings);
    expectSpikeSurvives(result.overview, at);
    EXPECT_EQ(result.levels.fullScaleSamples, 1u);
    EXPECT_NEAR(result.levels.peakDbfs, 20 * std::log10(std::sqrt(2.0)), 1e-9);
}

TEST(Envelope, ColumnsTileTheRangeAndOneSampleEachWhenFew) {
    const std::pair<std::uint64_t, std::uint64_t> ranges[] = {{0, 1000}, {5, 1925}, {7, 1'000'007}, {3, 4}};
    for (auto [begin, end] : ranges) {
        Envelope envelope = emptyEnvelope(begin, end, 1920);
        ASSERT_EQ(envelope.columns.size(), std::min<std::uint64_t>(1920, end - begin));
        EXPECT_EQ(envelope.columns.front().first, begin);
        EXPECT_EQ(envelope.columns.back().end, end);
        for (std::size_t c = 1; c < envelope.columns.size(); ++c) {
            EXPECT_EQ(envelope.columns[c].first, envelope.columns[c - 1].end);
            EXPECT_GT(envelope.columns[c].end, envelope.columns[c].first);
        }
    }
    EXPECT_TRUE(emptyEnvelope(10, 10, 100).columns.empty());
}

TEST(Envelope, MarkerColumnsShowBothLevelsWhereTheyChange) {
    GeneratedSignal s;
    s.size = 100;
    s.markers = true;
    s.fill = [](std::uint64_t first, std::size_t count, SampleBlock& block) {
        for (std::size_t k = 0; k < count; ++k) {
            block.i[k] = static_cast<std::int16_t>(first + k);
            block.q[k] = 0;
            block.markers[k] = (first + k) >= 55 ? kMarker2 : 0;
        }
    };
    GeneratedSampleSource source(s);
    Envelope envelope = computeEnvelope(source, 0, 100, 10);
    ASSERT_EQ(envelope.columns.size(), 10u);
    EXPECT_EQ(envelope.columns[5].markersHigh, kMarker2);
    EXPECT_EQ(envelope.columns[5].markersLow, kMarker1 | kMarker2);
    EXPECT_EQ(envelope.columns[6].markersLow, kMarker1);
    EXPECT_EQ(envelope.columns[3].minI, 30);
    EXPECT_EQ(envelope.columns[3].maxI, 39);
    EXPECT_FLOAT_EQ(envelope.columns[3].minMagnitude, 30.0f);
}

TEST(Cancel, StopsALongPassWithin200Milliseconds) {
    auto source = test::gaussianNoise(std::uint64_t{1} << 36, 1000.0);  // hours of work
    std::atomic<bool> cancel{false};
    std::atomic<int> calls{0};
    std::vector<double> fractions;
    AnalysisControl control;
    control.cancel = &cancel;
    control.progress = [&](double fraction) {
        fractions.push_back(fraction);
        ++calls;
    };
    AnalysisResult result;
    std::chrono::steady_clock::time_point returned;
    std::thread worker([&] {
        result = analyse(source, AnalysisSettings{}, control);
        returned = std::chrono::steady_clock::now();
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    const auto asked = std::chrono::steady_clock::now();
    cancel = true;
    worker.join();
    EXPECT_EQ(result.status.outcome, Outcome::Cancelled);
    EXPECT_LT(std::chrono::duration_cast<std::chrono::milliseconds>(returned - asked).count(), 200);
    EXPECT_TRUE(std::is_sorted(fractions.begin(), fractions.end()));
}

TEST(Progress, RisesToOneAndStaysFew) {
    auto source = test::tone(3'000'000, 3, 1024, true);
    std::vector<double> fractions;
    AnalysisControl control;
    control.progress = [&](double fraction) { fractions.push_back(fraction); };
    AnalysisResult result = analyse(source, AnalysisSettings{}, control);
    ASSERT_TRUE(result.status.done());
    ASSERT_FALSE(fractions.empty());
    EXPECT_TRUE(std::is_sorted(fractions.begin(), fractions.end()));
    EXPECT_DOUBLE_EQ(fractions.back(), 1.0);
    EXPECT_LE(fractions.size(), 210u);
}

}  // namespace
}  // namespace orvenda::analysis
