// The marker drawing's level walk beside the engine's marker walk, and the
// trace geometry beside a sample-by-sample drawing.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "core/markers/marker_store.h"
#include "core/markers/marker_trace.h"
#include "engine/marker_track.h"

namespace orvenda::markers {

void PrintTo(const TracePoint& p, std::ostream* out) { *out << "(" << p.x << ", " << p.y << ")"; }
void PrintTo(const LevelChange& c, std::ostream* out) { *out << "[" << c.sample << ": " << c.level << "]"; }

namespace {

// The engine's walk, written from its rule: level 0 and cursor 0 at the
// start; at each sample the entry under the cursor applies when its Pos is
// that sample, and the cursor moves on, never beyond entry 98.
std::vector<int32_t> engineLevels(const MarkerPoints& points, int32_t length) {
    std::vector<int32_t> levels;
    int cursor = 0;
    int32_t level = 0;
    for (int32_t j = 0; j < length; ++j) {
        if (points[static_cast<std::size_t>(cursor)].Pos == j) {
            level = points[static_cast<std::size_t>(cursor)].Value;
            cursor = std::min(cursor + 1, 98);
        }
        levels.push_back(level);
    }
    return levels;
}

std::vector<int32_t> levelsFromChanges(const std::vector<LevelChange>& changes, int32_t length) {
    std::vector<int32_t> levels;
    int32_t level = 0;
    auto change = changes.begin();
    for (int32_t i = 0; i < length; ++i) {
        if (change != changes.end() && change->sample == i) level = (change++)->level;
        levels.push_back(level);
    }
    EXPECT_TRUE(change == changes.end()) << "a change lies beyond the trace";
    return levels;
}

MarkerPoints listOf(std::initializer_list<MarkerPoint> entries) {
    MarkerPoints points{};
    std::copy(entries.begin(), entries.end(), points.begin());
    return points;
}

TEST(MarkerWalk, AgreesWithTheEngineOnNamedLists) {
    MarkerPoints long_list{};
    for (int i = 0; i < 150; ++i) long_list[static_cast<std::size_t>(i)] = {3 * i, (i + 1) % 2};
    MarkerPoints full{};
    for (int i = 0; i < kMarkerPointCapacity; ++i) full[static_cast<std::size_t>(i)] = {i, i % 2};
    const struct {
        const char* name;
        MarkerPoints points;
        int32_t length;
    } cases[] = {
        {"empty", listOf({}), 50},
        {"three changes", listOf({{0, 1}, {100, 0}, {200, 1}}), 201},
        {"late start", listOf({{50, 1}}), 120},
        {"passed position stops the walk", listOf({{5, 1}, {3, 0}, {8, 0}}), 20},
        {"repeated position stops the walk", listOf({{5, 1}, {5, 0}, {9, 0}}), 20},
        {"negative position", listOf({{-2, 1}, {4, 1}}), 10},
        {"zero after the first point", listOf({{4, 1}}), 10},
        {"changes beyond the length", listOf({{0, 1}, {30, 0}}), 20},
        {"levels beyond 0 and 1", listOf({{0, 7}, {2, -3}}), 6},
        {"longer than the entries walked", long_list, 500},
        {"a thousand and one entries", full, 1200},
    };
    for (const auto& c : cases)
        EXPECT_EQ(levelsFromChanges(markerLevelChanges(c.points, c.length), c.length), engineLevels(c.points, c.length))
            << c.name;
}

TEST(MarkerWalk, AgreesWithTheEngineOnRandomLists) {
    std::mt19937 random(20261208);
    for (int round = 0; round < 300; ++round) {
        MarkerPoints points{};
        const int count = std::uniform_int_distribution<int>(0, 140)(random);
        int32_t pos = std::uniform_int_distribution<int32_t>(-2, 3)(random);
        for (int i = 0; i < count; ++i) {
            points[static_cast<std::size_t>(i)] = {pos, std::uniform_int_distribution<int32_t>(-1, 2)(random)};
            // mostly rising, sometimes standing or falling back
            pos += std::uniform_int_distribution<int32_t>(round % 5 == 0 ? -3 : 1, 6)(random);
        }
        const int32_t length = std::uniform_int_distribution<int32_t>(0, 700)(random);
        ASSERT_EQ(levelsFromChanges(markerLevelChanges(points, length), length), engineLevels(points, length))
            << "round " << round;
    }
}

TEST(MarkerWalk, AgreesWithTheEnginesOwnMarkerTrack) {
    // The engine's walk itself, fed in blocks of 1024 samples as it writes.
    std::mt19937 random(9);
    for (int round = 0; round < 200; ++round) {
        MarkerPoints points{};
        const int count = std::uniform_int_distribution<int>(0, 130)(random);
        int32_t pos = std::uniform_int_distribution<int32_t>(0, 3)(random);
        for (int i = 0; i < count; ++i) {
            points[static_cast<std::size_t>(i)] = {pos, std::uniform_int_distribution<int32_t>(0, 1)(random)};
            pos += std::uniform_int_distribution<int32_t>(round % 7 == 0 ? -2 : 1, 40)(random);
        }
        const int32_t length = std::uniform_int_distribution<int32_t>(0, 5000)(random);
        std::vector<int32_t> engine(static_cast<std::size_t>(length));
        halvik::MarkerTrack track(points.data());
        for (int32_t done = 0; done < length; done += 1024)
            track.fill(engine.data() + done, static_cast<std::size_t>(std::min(1024, length - done)), done);
        ASSERT_EQ(levelsFromChanges(markerLevelChanges(points, length), length), engine) << "round " << round;
    }
}

// The drawing sample by sample, one point per sample as the picture draws it,
// with the dropped points of horizontal runs left out.
std::vector<TracePoint> sampleBySampleTrace(const MarkerPoints& points, int32_t length, const TraceFrame& f) {
    const double sx = static_cast<double>(f.width) / length;
    const double sy = f.top == f.bottom ? 0.0 : (f.height - 1) / (f.top - f.bottom);
    auto yOf = [&](int32_t level) {
        const int y = static_cast<int>(std::nearbyint((f.top - level) * sy + f.y0));
        return std::clamp(y, f.y0, f.y0 + f.height);
    };
    int32_t level = 0;
    std::size_t k = 0;
    if (points[0].Pos == 0) {
        level = points[0].Value;
        k = 1;
    }
    std::vector<TracePoint> drawn{{f.x0, yOf(level)}};
    for (int32_t i = 1; i < length; ++i) {
        const int x = static_cast<int>(std::nearbyint(i * sx + f.x0));
        if (k < static_cast<std::size_t>(kMarkerEntriesWalked) && points[k].Pos == i) level = points[k++].Value;
        drawn.push_back({x, yOf(level)});
    }
    std::vector<TracePoint> kept;
    for (const TracePoint& p : drawn) {
        const std::size_t n = kept.size();
        if (n >= 2 && kept[n - 1].y == p.y && kept[n - 2].y == p.y)
            kept[n - 1] = p;
        else
            kept.push_back(p);
    }
    return kept;
}

TEST(MarkerTrace, MatchesTheSampleBySampleDrawing) {
    std::mt19937 random(77);
    const TraceFrame frames[] = {{2.0, -1.0, 300, 90, 0, 0},
                                 {2.0, -1.0, 57, 31, 3, 5},  // fewer pixels than samples
                                 {2.0, -1.0, 2000, 40, 0, 0}};
    for (int round = 0; round < 200; ++round) {
        MarkerPoints points{};
        const int count = std::uniform_int_distribution<int>(0, 120)(random);
        int32_t pos = std::uniform_int_distribution<int32_t>(0, 2)(random);
        for (int i = 0; i < count; ++i) {
            points[static_cast<std::size_t>(i)] = {pos, std::uniform_int_distribution<int32_t>(-2, 3)(random)};
            pos += std::uniform_int_distribution<int32_t>(1, 9)(random);
        }
        const int32_t length = std::uniform_int_distribution<int32_t>(1, 900)(random);
        const TraceFrame& frame = frames[round % 3];
        ASSERT_EQ(markerTrace(points, length, frame), sampleBySampleTrace(points, length, frame)) << "round " << round;
    }
}

TEST(MarkerTrace, HighLowHigh) {
    // Level 1 one third below the top, level 0 two thirds: (H - 1) / 3 steps.
    const TraceFrame frame{2.0, -1.0, 201, 100, 0, 0};
    const std::vector<TracePoint> expected{{0, 33}, {99, 33}, {100, 66}, {199, 66}, {200, 33}};
    EXPECT_EQ(markerTrace(listOf({{0, 1}, {100, 0}, {200, 1}}), 201, frame), expected);
}

TEST(MarkerTrace, LateFirstPointStartsLow) {
    const TraceFrame frame{2.0, -1.0, 100, 100, 0, 0};
    const std::vector<TracePoint> expected{{0, 66}, {49, 66}, {50, 33}, {99, 33}};
    EXPECT_EQ(markerTrace(listOf({{50, 1}}), 100, frame), expected);
}

TEST(MarkerTrace, ShorterMarkerRunsOnToTheRightEdge) {
    // Marker 1 ends at 200 but both drawings span 400 samples.
    const TraceFrame frame{2.0, -1.0, 400, 100, 0, 0};
    const std::vector<TracePoint> trace = markerTrace(listOf({{0, 1}, {100, 0}, {200, 1}}), 400, frame);
    ASSERT_EQ(trace.size(), 6u);
    EXPECT_EQ(trace[4], (TracePoint{200, 33}));  // half the width
    EXPECT_EQ(trace[5], (TracePoint{399, 33}));
}

TEST(MarkerTrace, LevelsOutsideTheRangeSitOnTheEdgesAndOffsetsShift) {
    const TraceFrame frame{2.0, -1.0, 10, 40, 5, 7};
    const std::vector<TracePoint> expected{{5, 7}, {6, 7}, {7, 47}, {14, 47}};
    EXPECT_EQ(markerTrace(listOf({{0, 9}, {2, -9}}), 10, frame), expected);
}

TEST(MarkerTrace, EqualTopAndBottomDrawsAtTheYOffset) {
    const TraceFrame frame{1.0, 1.0, 10, 40, 0, 4};
    for (const TracePoint& p : markerTrace(listOf({{0, 1}, {5, 0}}), 10, frame)) EXPECT_EQ(p.y, 4);
}

TEST(MarkerTrace, DegenerateLengths) {
    const TraceFrame frame{2.0, -1.0, 100, 100, 0, 0};
    EXPECT_TRUE(markerTrace(listOf({{0, 1}}), 0, frame).empty());
    EXPECT_TRUE(markerTrace(listOf({{0, 1}}), -5, frame).empty());
    EXPECT_EQ(markerTrace(listOf({{0, 1}}), 1, frame), (std::vector<TracePoint>{{0, 33}}));
}

TEST(MarkerTrace, EntriesBeyondTheEnginesReachAreNotDrawn) {
    MarkerPoints points{};
    for (int i = 0; i < 120; ++i) points[static_cast<std::size_t>(i)] = {10 * i, (i + 1) % 2};
    const TraceFrame frame{2.0, -1.0, 1200, 100, 0, 0};
    const std::vector<TracePoint> trace = markerTrace(points, 1200, frame);
    // Entry 98 (at 980, level 1) is the last change; the trace stays there.
    EXPECT_EQ(trace.back(), (TracePoint{1199, 33}));
    EXPECT_EQ(trace[trace.size() - 2], (TracePoint{980, 33}));
}

TEST(MarkerTrace, HugeLengthCostsOnlyItsChanges) {
    const TraceFrame frame{2.0, -1.0, 500, 100, 0, 0};
    const std::vector<TracePoint> trace =
        markerTrace(listOf({{0, 1}, {1000000000, 0}, {2147483646, 1}}), 2147483647, frame);
    const std::vector<TracePoint> expected{{0, 33}, {233, 33}, {233, 66}, {500, 66}, {500, 33}};
    EXPECT_EQ(trace, expected);
}

}  // namespace
}  // namespace orvenda::markers
