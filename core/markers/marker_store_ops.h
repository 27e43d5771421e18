// The marker store seen from the editor's grid: the grid's point rows filled
// from a marker, "Set Marker" storing them, "Clear Marker" emptying a marker.
// Plain C++: the editor window only moves texts between these rows and its
// grid.
#ifndef ORVENDA_GUI_MARKERS_MARKER_STORE_OPS_H
#define ORVENDA_GUI_MARKERS_MARKER_STORE_OPS_H

#include <cstdint>
#include <string>
#include <vector>

#include "core/markers/marker_store.h"

namespace orvenda::markers {

// The editor's grid has a point row for every list entry but the last, which
// only a marker data file of the full length fills.
inline constexpr int kGridPointRows = kMarkerPointCapacity - 1;

// One point row of the grid as text: the position cell and the level cell.
struct GridRow {
    std::string pos;
    std::string value;
    friend bool operator==(const GridRow&, const GridRow&) = default;
};
using GridRows = std::vector<GridRow>;  // kGridPointRows rows, point 0 first

MarkerPoints& markerPoints(MarkerStore& store, MarkerNumber marker);
int32_t& markerCount(MarkerStore& store, MarkerNumber marker);
int32_t& markerLengthOf(MarkerStore& store, MarkerNumber marker);

// The rows showing the marker's first `count` points (at most 1000); the
// other rows are empty.
GridRows gridRowsFromStore(const MarkerStore& store, MarkerNumber marker);

// "Set Marker", its store part: reads rows down to the first one with an
// empty position cell (or all of them), stores them as the marker's points
// in row order, zeroes every later entry, and sets the count, the marker's
// length (last position + 1; kept when no row was read) and MarkerLength.
// Positions and levels are the rounded integers of the texts' leading
// numbers, saturated to the int32 range. Returns the number of points stored.
int storeGridRows(MarkerStore& store, MarkerNumber marker, const GridRows& rows);

// "Clear Marker", its store part: every entry of the marker (0, 0), its
// count and length 0, MarkerLength recomputed.
void clearMarkerPoints(MarkerStore& store, MarkerNumber marker);

// The larger of the two marker lengths.
int32_t combinedMarkerLength(const MarkerStore& store);

// The rows read as "Save Marker List" reads them: down to the first empty
// position cell, as rounded integers of the leading numbers.
std::vector<MarkerPoint> pointsFromGridRows(const GridRows& rows);

// The rows "Load Marker List" shows: the first 1000 points, the rest empty.
GridRows gridRowsFromPoints(const std::vector<MarkerPoint>& points);

}  // namespace orvenda::markers

#endif
