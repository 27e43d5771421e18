// Helpers of the marker file tests: a scratch folder, files of n pairs, and
// MarkerPoint comparison and printing.
#ifndef ORVENDA_TESTS_MARKERS_MARKER_FILE_TEST_SUPPORT_H
#define ORVENDA_TESTS_MARKERS_MARKER_FILE_TEST_SUPPORT_H

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <ostream>
#include <stdexcept>
#include <string>

#include "common/halvik_api.h"
#include "tests/support/scratch_folder.h"

inline bool operator==(const MarkerPoint& a, const MarkerPoint& b) { return a.Pos == b.Pos && a.Value == b.Value; }

inline std::ostream& operator<<(std::ostream& out, const MarkerPoint& p) {
    return out << "(" << p.Pos << ", " << p.Value << ")";
}

namespace orvenda::markers::testsupport {

using TempFolder = orvenda::testsupport::ScratchFolder;

inline std::string readBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// n points in the written form: point i is (2i, i mod 2).
inline std::string pairsText(int n) {
    std::string text;
    for (int i = 0; i < n; ++i) text += std::to_string(2 * i) + "\t" + std::to_string(i % 2) + "\r\n";
    return text;
}

}  // namespace orvenda::markers::testsupport

#endif
