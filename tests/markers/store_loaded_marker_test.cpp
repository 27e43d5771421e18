// What a loaded marker file does to the marker store.
#include <gtest/gtest.h>

#include <ostream>
#include <vector>

#include "core/markers/graph_lib.h"
#include "tests/markers/marker_file_test_support.h"

namespace orvenda::markers {
namespace {

// Every entry of both lists marked, so that any entry written shows.
MarkerStore markedStore() {
    MarkerStore store;
    for (int i = 0; i < kMarkerPointCapacity; ++i) {
        store.Marker1Points[i] = MarkerPoint{-1, 7};
        store.Marker2Points[i] = MarkerPoint{-2, 9};
    }
    store.Marker1Count = 55;
    store.Marker2Count = 66;
    store.Marker1Length = 5000;
    store.Marker2Length = 6000;
    store.MarkerLength = 6000;
    store.CurrentMarker = 1;
    return store;
}

std::vector<MarkerPoint> firstPoints(int count) {
    std::vector<MarkerPoint> points;
    for (int i = 0; i < count; ++i) points.push_back(MarkerPoint{2 * i, (i + 1) % 2});
    return points;
}

struct LoadCase {
    const char* name;
    int marker;
    std::vector<MarkerPoint> points;
    int32_t expectedLength;  // of the loaded marker
};
void PrintTo(const LoadCase& c, std::ostream* out) { *out << c.name; }

class StoreLoadedMarker : public ::testing::TestWithParam<LoadCase> {};

TEST_P(StoreLoadedMarker, ReplacesOnlyThatMarker) {
    const LoadCase& c = GetParam();
    const MarkerStore before = markedStore();
    MarkerStore store = before;
    storeLoadedMarker(store, static_cast<MarkerNumber>(c.marker), c.points);

    const bool second = c.marker == 2;
    const MarkerPoints& list = second ? store.Marker2Points : store.Marker1Points;
    const MarkerPoints& oldList = second ? before.Marker2Points : before.Marker1Points;
    const std::size_t k = c.points.size();
    for (std::size_t i = 0; i < k; ++i) EXPECT_EQ(list[i], c.points[i]) << "entry " << i;
    for (std::size_t i = k; i < 1000; ++i) EXPECT_EQ(list[i], (MarkerPoint{0, 0})) << "entry " << i;
    if (k < HALVIK_MARKER_LIST_ENTRIES) {
        EXPECT_EQ(list[1000], oldList[1000]) << "entry 1000 is not touched";
    }
    EXPECT_EQ(second ? store.Marker2Count : store.Marker1Count, static_cast<int32_t>(k));
    EXPECT_EQ(second ? store.Marker2Length : store.Marker1Length, c.expectedLength);

    // The other marker and the editor's selection stay as they were.
    EXPECT_TRUE((second ? store.Marker1Points : store.Marker2Points) ==
                (second ? before.Marker1Points : before.Marker2Points));
    EXPECT_EQ(second ? store.Marker1Count : store.Marker2Count, second ? before.Marker1Count : before.Marker2Count);
    EXPECT_EQ(second ? store.Marker1Length : store.Marker2Length, second ? before.Marker1Length : before.Marker2Length);
    EXPECT_EQ(store.CurrentMarker, before.CurrentMarker);
    EXPECT_EQ(store.MarkerLength, std::max(store.Marker1Length, store.Marker2Length));
}

INSTANTIATE_TEST_SUITE_P(
    GraphLib, StoreLoadedMarker,
    ::testing::Values(LoadCase{"TwoPointsAsMarker1", 1, {{0, 1}, {100, 0}}, 101},
                      LoadCase{"TwoPointsAsMarker2", 2, {{0, 1}, {100, 0}}, 101},
                      LoadCase{"LastPointBeforeALargerOne", 1, {{0, 1}, {500, 0}, {40, 1}}, 41},
                      LoadCase{"EmptyFileKeepsTheLength", 1, {}, 5000}, LoadCase{"EmptyFileAsMarker2", 2, {}, 6000},
                      LoadCase{"NegativeLastPosition", 1, {{-5, 1}}, -4},
                      LoadCase{"LastPositionAtInt32EndDoesNotOverflow", 2, {{INT32_MAX, 1}}, INT32_MAX},
                      LoadCase{"OneThousandPoints", 1, firstPoints(1000), 1999},
                      LoadCase{"OneThousandAndOnePointsFillEntry1000", 2, firstPoints(HALVIK_MARKER_LIST_ENTRIES),
                               2001}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(StoreLoadedMarkerLength, IsTheLongerOfTheTwoMarkersAcrossLoads) {
    MarkerStore store;
    storeLoadedMarker(store, MarkerNumber::One, std::vector<MarkerPoint>{{0, 1}, {100, 0}});
    EXPECT_EQ(store.MarkerLength, 101);
    storeLoadedMarker(store, MarkerNumber::Two, std::vector<MarkerPoint>{{0, 0}, {2000, 1}});
    EXPECT_EQ(store.MarkerLength, 2001);
    storeLoadedMarker(store, MarkerNumber::Two, std::vector<MarkerPoint>{{10, 1}});
    EXPECT_EQ(store.MarkerLength, 101) << "a shorter marker 2 lets marker 1 decide again";
    storeLoadedMarker(store, MarkerNumber::One, {});
    EXPECT_EQ(store.MarkerLength, 101) << "an empty file keeps marker 1's length";
}

}  // namespace
}  // namespace orvenda::markers
