// GraphLib: the marker data file, read and written as plain files. One line
// per point, Pos, a tab, Value, CR LF; an empty list is an empty file.
#ifndef ORVENDA_GUI_MARKERS_GRAPH_LIB_H
#define ORVENDA_GUI_MARKERS_GRAPH_LIB_H

#include <span>
#include <string>
#include <variant>
#include <vector>

#include "halvik_api.h"

namespace orvenda::markers {

inline constexpr int kMarkerFileMaxPoints = 1001;

struct MarkerFileContents {
    std::vector<MarkerPoint> points;  // at most the requested number
    bool pointsDropped = false;       // the file held more ("work size over")
};

// Why a file was rejected; `message` names the file and the offending item.
struct MarkerFileError {
    std::string message;
};

std::variant<MarkerFileContents, MarkerFileError> readMarkerFile(const std::string& path,
                                                                 int maxPoints = kMarkerFileMaxPoints);

// Writes the points in the written form; on failure returns a message naming
// the file, and the file is left as it was.
std::variant<std::monostate, MarkerFileError> writeMarkerFile(const std::string& path,
                                                              std::span<const MarkerPoint> points);

}  // namespace orvenda::markers

#endif
