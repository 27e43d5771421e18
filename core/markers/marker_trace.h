// The marker drawing as geometry: which level a marker list gives each
// sample, and the polyline that draws it into a picture. Plain C++, so the
// trace is tested without painting.
#ifndef ORVENDA_GUI_MARKERS_MARKER_TRACE_H
#define ORVENDA_GUI_MARKERS_MARKER_TRACE_H

#include <cstdint>
#include <span>
#include <vector>

#include "common/halvik_api.h"

namespace orvenda::markers {

// The engine consults only the first HALVIK_MARKER_ENTRIES_WALKED entries;
// the drawing walks the list the same way, so that it shows what the
// waveform file will carry.
inline constexpr int kMarkerEntriesWalked = HALVIK_MARKER_ENTRIES_WALKED;

// A sample from which the level holds.
struct LevelChange {
    int32_t sample = 0;
    int32_t level = 0;
    friend bool operator==(const LevelChange&, const LevelChange&) = default;
};

// The marker list walked as the engine walks it, for samples 0 .. length-1:
// the level starts at 0; the entry under the cursor applies when its Pos is
// the sample reached, and the cursor moves on. An entry whose Pos is already
// passed is never matched, so it stops every later change. Returns the
// changes in sample order (a change may repeat the level it replaces).
std::vector<LevelChange> markerLevelChanges(std::span<const MarkerPoint> points, int32_t length);

struct TracePoint {
    int x = 0;
    int y = 0;
    friend bool operator==(const TracePoint&, const TracePoint&) = default;
};

struct TraceFrame {
    double top = 2.0;      // level drawn at the top edge
    double bottom = -1.0;  // level drawn at the bottom edge
    int width = 0;
    int height = 0;
    int x0 = 0;
    int y0 = 0;
};

// The polyline of `length` samples: sample i at x = i * width / length, a
// level change at sample i as a slanted edge from sample i-1, levels beyond
// top and bottom on the edges; coordinates rounded half to even. Points that
// lie inside a horizontal run are left out: the drawn line is the same as
// with one point per sample, but a trace of two billion samples costs only
// as many points as it has changes. Empty when length is below 1.
std::vector<TracePoint> markerTrace(std::span<const MarkerPoint> points, int32_t length, const TraceFrame& frame);

}  // namespace orvenda::markers

#endif
