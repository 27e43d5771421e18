// Marker 1 and marker 2 as change-point lists, shared by the marker editor,
// the marker files and the transform commands. The engine reads the arrays by
// address and relies on (0, 0) entries after the last point.
#ifndef ORVENDA_GUI_MARKERS_MARKER_STORE_H
#define ORVENDA_GUI_MARKERS_MARKER_STORE_H

#include <array>
#include <cstdint>

#include "common/halvik_api.h"
#include "core/markers/marker_number.h"

namespace orvenda::markers {

inline constexpr int kMarkerPointCapacity = HALVIK_MARKER_LIST_ENTRIES;
using MarkerPoints = std::array<MarkerPoint, kMarkerPointCapacity>;

struct MarkerStore {
    MarkerPoints Marker1Points{};
    MarkerPoints Marker2Points{};
    int32_t Marker1Count = 0;
    int32_t Marker2Count = 0;
    int32_t Marker1Length = 0;
    int32_t Marker2Length = 0;
    int32_t MarkerLength = 0;
    int32_t CurrentMarker = 0;  // 0 marker 1, 1 marker 2

    // Every point (0, 0) and every counter 0, as at program start.
    void clear() { *this = MarkerStore{}; }
};

}  // namespace orvenda::markers

#endif
