// Which samples each pixel column of the time plot covers, and the zoom and
// pan of the visible range: plain arithmetic, tested without painting.
#ifndef ORVENDA_GUI_PLOTS_SAMPLE_COLUMNS_H
#define ORVENDA_GUI_PLOTS_SAMPLE_COLUMNS_H

#include <cstdint>

namespace orvenda::plots {

// A range of samples [first, first + count).
struct SampleRange {
    int64_t first = 0;
    int64_t count = 0;
    int64_t end() const { return first + count; }
    bool operator==(const SampleRange&) const = default;
};

// Column c of `columns` covers [first + c*count/columns, first + (c+1)*count/columns):
// every sample lands in exactly one column, none is skipped.
SampleRange columnSamples(SampleRange visible, int columns, int column);

// The column showing sample `index` (clamped to 0..columns-1).
int columnOfSample(SampleRange visible, int columns, int64_t index);

// Zoom by `factor` (< 1 zooms in) around the sample under `anchorFraction`
// (0 = left edge, 1 = right edge) of the visible range, never below
// `minimumCount` samples nor beyond the file [0, total).
SampleRange zoomRange(SampleRange visible, double factor, double anchorFraction, int64_t total,
                      int64_t minimumCount = 4);

// Move by `shift` samples, kept inside [0, total).
SampleRange panRange(SampleRange visible, int64_t shift, int64_t total);

}  // namespace orvenda::plots

#endif
