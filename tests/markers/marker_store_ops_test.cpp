// The marker store seen from the grid: filling rows, "Set Marker",
// "Clear Marker", and the rows read and written by the marker list commands.
#include <gtest/gtest.h>

#include "core/markers/marker_store_ops.h"

namespace orvenda::markers {
namespace {

GridRows rowsOf(std::initializer_list<GridRow> filled) {
    GridRows rows(kGridPointRows);
    std::copy(filled.begin(), filled.end(), rows.begin());
    return rows;
}

void expectZeroFrom(const MarkerPoints& points, std::size_t first) {
    for (std::size_t i = first; i < points.size(); ++i) {
        ASSERT_EQ(points[i].Pos, 0) << "entry " << i;
        ASSERT_EQ(points[i].Value, 0) << "entry " << i;
    }
}

TEST(StoreGridRows, StoresThreePointsOfMarkerOne) {
    MarkerStore store;
    store.Marker1Points.fill({7, 7});  // leftovers of an earlier list
    const int n = storeGridRows(store, MarkerNumber::One, rowsOf({{"0", "1"}, {"100", "0"}, {"200", "1"}}));
    EXPECT_EQ(n, 3);
    EXPECT_EQ(store.Marker1Count, 3);
    EXPECT_EQ(store.Marker1Length, 201);
    EXPECT_EQ(store.MarkerLength, 201);
    EXPECT_EQ(store.Marker1Points[0].Pos, 0);
    EXPECT_EQ(store.Marker1Points[0].Value, 1);
    EXPECT_EQ(store.Marker1Points[1].Pos, 100);
    EXPECT_EQ(store.Marker1Points[1].Value, 0);
    EXPECT_EQ(store.Marker1Points[2].Pos, 200);
    EXPECT_EQ(store.Marker1Points[2].Value, 1);
    expectZeroFrom(store.Marker1Points, 3);
    EXPECT_EQ(store.Marker2Count, 0);
    expectZeroFrom(store.Marker2Points, 0);
}

TEST(StoreGridRows, ReadsTextAsTheLeadingNumberAndKeepsRowOrder) {
    MarkerStore store;
    const int n = storeGridRows(store, MarkerNumber::Two,
                                rowsOf({{"300", "1"}, {"7.5", "abc"}, {"12x", "2.5"}, {"-4", "3.5"}, {" ", "1"}}));
    ASSERT_EQ(n, 5);
    const MarkerPoint expected[] = {{300, 1}, {8, 0}, {12, 2}, {-4, 4}, {0, 1}};
    for (int i = 0; i < n; ++i) {
        EXPECT_EQ(store.Marker2Points[static_cast<std::size_t>(i)].Pos, expected[i].Pos) << i;
        EXPECT_EQ(store.Marker2Points[static_cast<std::size_t>(i)].Value, expected[i].Value) << i;
    }
    // The length follows the last row read, not the largest position.
    EXPECT_EQ(store.Marker2Length, 1);
    EXPECT_EQ(store.MarkerLength, 1);
}

TEST(StoreGridRows, StopsAtTheFirstEmptyPositionCell) {
    MarkerStore store;
    // Row 3 of five was deleted: the list ends there.
    const int n =
        storeGridRows(store, MarkerNumber::One, rowsOf({{"0", "1"}, {"10", "0"}, {"", ""}, {"30", "1"}, {"40", "0"}}));
    EXPECT_EQ(n, 2);
    EXPECT_EQ(store.Marker1Count, 2);
    EXPECT_EQ(store.Marker1Length, 11);
    expectZeroFrom(store.Marker1Points, 2);
}

TEST(StoreGridRows, EmptyGridKeepsTheLengthButZeroesThePoints) {
    MarkerStore store;
    storeGridRows(store, MarkerNumber::One, rowsOf({{"0", "1"}, {"50", "0"}}));
    ASSERT_EQ(store.Marker1Length, 51);
    EXPECT_EQ(storeGridRows(store, MarkerNumber::One, rowsOf({})), 0);
    EXPECT_EQ(store.Marker1Count, 0);
    expectZeroFrom(store.Marker1Points, 0);
    EXPECT_EQ(store.Marker1Length, 51);
    EXPECT_EQ(store.MarkerLength, 51);
}

TEST(StoreGridRows, FullGridStoresAThousandPointsAndClearsEntry1000) {
    MarkerStore store;
    store.Marker1Points[1000] = {5000, 1};  // as a full-length file leaves it
    GridRows rows(kGridPointRows);
    for (int i = 0; i < kGridPointRows; ++i)
        rows[static_cast<std::size_t>(i)] = {std::to_string(2 * i), std::to_string(i % 2)};
    EXPECT_EQ(storeGridRows(store, MarkerNumber::One, rows), 1000);
    EXPECT_EQ(store.Marker1Count, 1000);
    EXPECT_EQ(store.Marker1Points[999].Pos, 1998);
    EXPECT_EQ(store.Marker1Points[999].Value, 1);
    EXPECT_EQ(store.Marker1Length, 1999);
    EXPECT_EQ(store.Marker1Points[1000].Pos, 0);
    EXPECT_EQ(store.Marker1Points[1000].Value, 0);
}

TEST(StoreGridRows, PositionsBeyondInt32Saturate) {
    MarkerStore store;
    storeGridRows(store, MarkerNumber::One, rowsOf({{"1e12", "1e12"}, {"-1e12", "-1e12"}}));
    EXPECT_EQ(store.Marker1Points[0].Pos, INT32_MAX);
    EXPECT_EQ(store.Marker1Points[0].Value, INT32_MAX);
    EXPECT_EQ(store.Marker1Points[1].Pos, INT32_MIN);
    EXPECT_EQ(store.Marker1Points[1].Value, INT32_MIN);
    EXPECT_EQ(store.Marker1Length, INT32_MIN);  // -1e12 + 1 saturates low
}

TEST(MarkerLength, TwoMarkersShareTheLarger) {
    MarkerStore store;
    storeGridRows(store, MarkerNumber::One, rowsOf({{"0", "1"}, {"100", "0"}, {"200", "1"}}));
    storeGridRows(store, MarkerNumber::Two, rowsOf({{"0", "0"}, {"399", "1"}}));
    EXPECT_EQ(store.Marker1Length, 201);
    EXPECT_EQ(store.Marker2Length, 400);
    EXPECT_EQ(store.MarkerLength, 400);
    clearMarkerPoints(store, MarkerNumber::Two);
    EXPECT_EQ(store.MarkerLength, 201);
}

TEST(ClearMarkerPoints, EmptiesOnlyTheGivenMarker) {
    MarkerStore store;
    storeGridRows(store, MarkerNumber::One, rowsOf({{"0", "1"}, {"100", "0"}}));
    storeGridRows(store, MarkerNumber::Two, rowsOf({{"0", "1"}, {"600", "0"}}));
    store.Marker2Points[1000] = {9, 9};
    clearMarkerPoints(store, MarkerNumber::Two);
    expectZeroFrom(store.Marker2Points, 0);
    EXPECT_EQ(store.Marker2Count, 0);
    EXPECT_EQ(store.Marker2Length, 0);
    EXPECT_EQ(store.MarkerLength, 101);
    EXPECT_EQ(store.Marker1Count, 2);
    EXPECT_EQ(store.Marker1Points[1].Pos, 100);
}

TEST(GridRowsFromStore, ShowsCountPointsAndAtMostAThousand) {
    MarkerStore store;
    store.Marker2Points[0] = {0, 1};
    store.Marker2Points[1] = {-6, 7};
    store.Marker2Points[2] = {99, 0};  // beyond the count: not shown
    store.Marker2Count = 2;
    const GridRows rows = gridRowsFromStore(store, MarkerNumber::Two);
    ASSERT_EQ(rows.size(), 1000u);
    EXPECT_EQ(rows[0], (GridRow{"0", "1"}));
    EXPECT_EQ(rows[1], (GridRow{"-6", "7"}));
    EXPECT_EQ(rows[2], GridRow{});
    EXPECT_EQ(gridRowsFromStore(store, MarkerNumber::One)[0], GridRow{});

    for (int i = 0; i < kMarkerPointCapacity; ++i) store.Marker1Points[static_cast<std::size_t>(i)] = {2 * i, 1};
    store.Marker1Count = HALVIK_MARKER_LIST_ENTRIES;
    const GridRows full = gridRowsFromStore(store, MarkerNumber::One);
    ASSERT_EQ(full.size(), 1000u);
    EXPECT_EQ(full[999], (GridRow{"1998", "1"}));
}

TEST(ListRows, SaveReadsRoundedLeadingNumbersUpToTheFirstEmptyRow) {
    const std::vector<MarkerPoint> points =
        pointsFromGridRows(rowsOf({{"0010", "1"}, {"7.5", "abc"}, {"200", "1"}, {"", "1"}, {"300", "0"}}));
    ASSERT_EQ(points.size(), 3u);
    EXPECT_EQ(points[0].Pos, 10);
    EXPECT_EQ(points[0].Value, 1);
    EXPECT_EQ(points[1].Pos, 8);
    EXPECT_EQ(points[1].Value, 0);
    EXPECT_EQ(points[2].Pos, 200);
    EXPECT_TRUE(pointsFromGridRows(rowsOf({})).empty());
}

TEST(ListRows, LoadShowsTheFirstThousandPointsAndEmptiesTheRest) {
    std::vector<MarkerPoint> points(HALVIK_MARKER_LIST_ENTRIES);
    for (int i = 0; i < HALVIK_MARKER_LIST_ENTRIES; ++i) points[static_cast<std::size_t>(i)] = {3 * i, i % 3};
    const GridRows rows = gridRowsFromPoints(points);
    ASSERT_EQ(rows.size(), 1000u);
    EXPECT_EQ(rows[999], (GridRow{"2997", "0"}));
    const GridRows few = gridRowsFromPoints({{0, 1}, {100, 0}});
    EXPECT_EQ(few[1], (GridRow{"100", "0"}));
    EXPECT_EQ(few[2], GridRow{});
    EXPECT_EQ(gridRowsFromPoints({}), GridRows(kGridPointRows));
}

}  // namespace
}  // namespace orvenda::markers
