#include "gui/plots/sample_columns.h"

#include <algorithm>
#include <cmath>

namespace orvenda::plots {

SampleRange columnSamples(SampleRange visible, int columns, int column) {
    if (columns <= 0) return {visible.first, 0};
    // count x columns stays far inside 64 bits for any file and screen.
    const int64_t begin = visible.first + visible.count * column / columns;
    const int64_t end = visible.first + visible.count * (column + 1) / columns;
    return {begin, end - begin};
}

int columnOfSample(SampleRange visible, int columns, int64_t index) {
    if (columns <= 0 || visible.count <= 0) return 0;
    // The column c with begin(c) <= index < begin(c+1).
    const int64_t offset = std::clamp<int64_t>(index - visible.first, 0, visible.count - 1);
    int64_t column = (offset * columns + columns - 1) / visible.count;
    while (column > 0 && columnSamples(visible, columns, static_cast<int>(column)).first > index) --column;
    while (column + 1 < columns && columnSamples(visible, columns, static_cast<int>(column + 1)).first <= index)
        ++column;
    return static_cast<int>(column);
}

SampleRange zoomRange(SampleRange visible, double factor, double anchorFraction, int64_t total, int64_t minimumCount) {
    if (total <= 0) return {0, 0};
    const int64_t minimum = std::min(total, std::max<int64_t>(1, minimumCount));
    const double wanted = std::round(static_cast<double>(visible.count) * factor);
    const int64_t count = std::clamp(static_cast<int64_t>(wanted), minimum, total);
    const double anchor = static_cast<double>(visible.first) + anchorFraction * static_cast<double>(visible.count);
    const int64_t first = static_cast<int64_t>(std::llround(anchor - anchorFraction * static_cast<double>(count)));
    return {std::clamp<int64_t>(first, 0, total - count), count};
}

SampleRange panRange(SampleRange visible, int64_t shift, int64_t total) {
    const int64_t count = std::min(visible.count, std::max<int64_t>(total, 0));
    return {std::clamp<int64_t>(visible.first + shift, 0, std::max<int64_t>(total - count, 0)), count};
}

}  // namespace orvenda::plots
