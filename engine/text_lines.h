// Many text lines at once. Lines of plain decimals, what sample files are
// made of, take a fast path; every other line is read by the per-line rules of
// text_number.h, so each value is the one the line reader gives.
#ifndef ORVENDA_ENGINE_TEXT_LINES_H
#define ORVENDA_ENGINE_TEXT_LINES_H

#include <cstddef>
#include <string_view>

namespace halvik {

// The lines of `text`: each ends in a line feed except perhaps the last, and
// of a line longer than LineReader::kMaxKeptLength only its head counts.
// Returns the number of lines read; the outputs must hold that many values.
std::size_t parseTwoColumnLines(std::string_view text, double* i, double* q);
std::size_t parseSingleColumnLines(std::string_view text, double* values);

struct LeadingLines {
    std::size_t bytes;  // up to and including the last one's line feed
    std::size_t count;
};

// The first `most` lines of text, or all of them when it holds fewer; a last
// line without a line feed counts.
LeadingLines leadingLines(std::string_view text, std::size_t most);

}  // namespace halvik

#endif
