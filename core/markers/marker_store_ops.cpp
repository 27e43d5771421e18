#include "core/markers/marker_store_ops.h"

#include <algorithm>
#include <string_view>

#include "core/settings/text_conversions.h"

namespace orvenda::markers {

namespace {

int32_t gridInteger(std::string_view text) { return settings::roundedInteger(settings::leadingNumber(text)); }

// Rows read before the first empty position cell.
int filledRowCount(const GridRows& rows) {
    const int limit = std::min<int>(static_cast<int>(rows.size()), kGridPointRows);
    int i = 0;
    while (i < limit && !rows[static_cast<std::size_t>(i)].pos.empty()) ++i;
    return i;
}

}  // namespace

MarkerPoints& markerPoints(MarkerStore& store, MarkerNumber marker) {
    return marker == MarkerNumber::One ? store.Marker1Points : store.Marker2Points;
}

int32_t& markerCount(MarkerStore& store, MarkerNumber marker) {
    return marker == MarkerNumber::One ? store.Marker1Count : store.Marker2Count;
}

int32_t& markerLengthOf(MarkerStore& store, MarkerNumber marker) {
    return marker == MarkerNumber::One ? store.Marker1Length : store.Marker2Length;
}

int32_t combinedMarkerLength(const MarkerStore& store) { return std::max(store.Marker1Length, store.Marker2Length); }

GridRows gridRowsFromStore(const MarkerStore& store, MarkerNumber marker) {
    const MarkerPoints& points = marker == MarkerNumber::One ? store.Marker1Points : store.Marker2Points;
    const int32_t count = marker == MarkerNumber::One ? store.Marker1Count : store.Marker2Count;
    GridRows rows(kGridPointRows);
    const int shown = std::clamp<int32_t>(count, 0, kGridPointRows);
    for (int i = 0; i < shown; ++i) {
        const MarkerPoint& p = points[static_cast<std::size_t>(i)];
        rows[static_cast<std::size_t>(i)] = {std::to_string(p.Pos), std::to_string(p.Value)};
    }
    return rows;
}

int storeGridRows(MarkerStore& store, MarkerNumber marker, const GridRows& rows) {
    MarkerPoints& points = markerPoints(store, marker);
    const int n = filledRowCount(rows);
    for (int i = 0; i < n; ++i) {
        const GridRow& row = rows[static_cast<std::size_t>(i)];
        const double pos = settings::leadingNumber(row.pos);
        points[static_cast<std::size_t>(i)] = {settings::roundedInteger(pos), gridInteger(row.value)};
        // The length follows the last row read, not the largest position.
        markerLengthOf(store, marker) = settings::roundedInteger(pos + 1.0);
    }
    // The last entry too: after a full-length file it may still hold a point, and
    // everything after the last point must read (0, 0).
    std::fill(points.begin() + n, points.end(), MarkerPoint{0, 0});
    markerCount(store, marker) = n;
    store.MarkerLength = combinedMarkerLength(store);
    return n;
}

void clearMarkerPoints(MarkerStore& store, MarkerNumber marker) {
    markerPoints(store, marker).fill(MarkerPoint{0, 0});
    markerLengthOf(store, marker) = 0;
    markerCount(store, marker) = 0;
    store.MarkerLength = combinedMarkerLength(store);
}

std::vector<MarkerPoint> pointsFromGridRows(const GridRows& rows) {
    const int n = filledRowCount(rows);
    std::vector<MarkerPoint> points;
    points.reserve(static_cast<std::size_t>(n));
    for (int i = 0; i < n; ++i) {
        const GridRow& row = rows[static_cast<std::size_t>(i)];
        points.push_back({gridInteger(row.pos), gridInteger(row.value)});
    }
    return points;
}

GridRows gridRowsFromPoints(const std::vector<MarkerPoint>& points) {
    GridRows rows(kGridPointRows);
    const std::size_t shown = std::min<std::size_t>(points.size(), kGridPointRows);
    for (std::size_t i = 0; i < shown; ++i) rows[i] = {std::to_string(points[i].Pos), std::to_string(points[i].Value)};
    return rows;
}

}  // namespace orvenda::markers
