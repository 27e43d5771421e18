// Which of the two markers: numbered as the window names them, "Marker1" and
// "Marker2", in the store, the editor, the files panel and the command line.
#ifndef ORVENDA_CORE_MARKERS_MARKER_NUMBER_H
#define ORVENDA_CORE_MARKERS_MARKER_NUMBER_H

namespace orvenda::markers {

enum class MarkerNumber { One = 1, Two = 2 };

inline constexpr MarkerNumber kBothMarkers[] = {MarkerNumber::One, MarkerNumber::Two};

// 1 or 2, as shown in texts.
constexpr int numberOf(MarkerNumber marker) { return static_cast<int>(marker); }
// 0 or 1: the position in "Current Marker" and in arrays of two.
constexpr int indexOf(MarkerNumber marker) { return numberOf(marker) - 1; }
constexpr MarkerNumber markerAtIndex(int index) { return index == 1 ? MarkerNumber::Two : MarkerNumber::One; }

}  // namespace orvenda::markers

#endif
