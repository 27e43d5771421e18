// GraphLib: the marker data file, read and written as plain files. One line
// per point, Pos, a tab, Value, CR LF; an empty list is an empty file.
//
// Reading takes numbers separated by commas, blanks, tabs or line ends, in
// pairs (Pos, Value), each rounded to the nearest int32 (halves to even).
// A file is taken whole or not at all: an item that is not a number, a number
// beyond the int32 range, an empty item between two commas, a Pos without its
// Value, or a file that cannot be opened or read rejects it with a message
// naming the file and the item. Reading stops after the first pair beyond
// `maxPoints`, which is dropped ("work size over"); what follows is not read.
#ifndef ORVENDA_GUI_MARKERS_GRAPH_LIB_H
#define ORVENDA_GUI_MARKERS_GRAPH_LIB_H

#include <span>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "common/halvik_api.h"
#include "core/markers/marker_store.h"

namespace orvenda::markers {

// A marker data file gives at most as many points as a list holds.
inline constexpr int kMarkerFileMaxPoints = kMarkerPointCapacity;

struct MarkerFileContents {
    std::vector<MarkerPoint> points;  // at most the requested number
    bool pointsDropped = false;       // the file held more ("work size over")
};

// Why a file was rejected; `message` names the file and the offending item.
struct MarkerFileError {
    std::string message;
};

using MarkerFileReadResult = std::variant<MarkerFileContents, MarkerFileError>;

MarkerFileReadResult readMarkerFile(const std::string& path, int maxPoints = kMarkerFileMaxPoints);

// The same reader over bytes held in memory; `fileName` only names the source
// in messages. Any bytes are safe to pass (the fuzzing entry).
MarkerFileReadResult readMarkerBytes(std::string_view bytes, std::string_view fileName,
                                     int maxPoints = kMarkerFileMaxPoints);

// The written form of `points`: "Pos\tValue\r\n" per point, nothing else.
std::string markerFileText(std::span<const MarkerPoint> points);

// Writes the points in the written form; on failure returns a message naming
// the file, and the file is left as it was. A regular file is replaced at once
// (written beside it, then renamed over it, keeping its permissions); a
// device or pipe is written in place, and so is a writable file in a folder
// where no new file may be created. A file the user may not write is refused.
std::variant<std::monostate, MarkerFileError> writeMarkerFile(const std::string& path,
                                                              std::span<const MarkerPoint> points);

// What a loaded marker file does to the store: the points replace the list,
// later entries but the last become (0, 0) (the last only changes when a
// full list came), the count is set, and when there is at least one point
// the length becomes the last point's Pos + 1. MarkerLength is then the
// larger of the two lengths.
void storeLoadedMarker(MarkerStore& store, MarkerNumber marker, std::span<const MarkerPoint> points);

}  // namespace orvenda::markers

#endif
