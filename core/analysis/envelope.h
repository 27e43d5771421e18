// The time view's data: per pixel column the smallest and largest I, Q and
// magnitude and which marker levels occur, so no single sample is ever lost
// however many samples share a column.
#ifndef ORVENDA_CORE_ANALYSIS_ENVELOPE_H
#define ORVENDA_CORE_ANALYSIS_ENVELOPE_H

#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/analysis/analysis_control.h"
#include "core/analysis/sample_source.h"

namespace orvenda::analysis {

struct EnvelopeColumn {
    std::uint64_t first = 0;  // samples [first, end)
    std::uint64_t end = 0;
    std::int16_t minI = 0;  // code - 8192, as SampleBlock
    std::int16_t maxI = 0;
    std::int16_t minQ = 0;
    std::int16_t maxQ = 0;
    float minMagnitude = 0.0f;  // sqrt(i^2 + q^2) in the same code units
    float maxMagnitude = 0.0f;
    std::uint8_t markersHigh = 0;  // kMarker1/kMarker2: that marker is 1 somewhere in the column
    std::uint8_t markersLow = 0;   // kMarker1/kMarker2: that marker is 0 somewhere in the column
};

struct Envelope {
    Status status;
    std::uint64_t begin = 0;  // the range asked for
    std::uint64_t end = 0;
    // Column c covers [begin + c*n/C, begin + (c+1)*n/C) with n = end - begin
    // and C the number of columns asked for (integer division); with fewer
    // samples than columns there is one column per sample. Empty for an empty
    // range.
    std::vector<EnvelopeColumn> columns;
};

// The column boundaries for a range (what computeEnvelope uses).
std::uint64_t columnStart(std::uint64_t begin, std::uint64_t end, std::size_t columns, std::size_t column);

// Reads only [begin, end) of the source (end is clamped to size()).
Envelope computeEnvelope(const SampleSource& source, std::uint64_t begin, std::uint64_t end, std::size_t columns,
                         const AnalysisControl& control = {});

// The same through a cursor the caller keeps between redraws (sources of
// text inputs can only read forward: a kept cursor makes panning forward cheap).
Envelope computeEnvelope(const SampleSource& source, SampleCursor& cursor, std::uint64_t begin, std::uint64_t end,
                         std::size_t columns, const AnalysisControl& control = {});

// Folds the samples of one block (sample index first .. first + size) into
// columns of an envelope whose columns are already laid out; used by the
// whole-file pass to build the overview while it reads.
void addToEnvelope(Envelope& envelope, std::uint64_t first, const SampleBlock& block);

// Lays out the columns of [begin, end) with empty extremes (ready for
// addToEnvelope): a column nothing was added to has minI > maxI.
Envelope emptyEnvelope(std::uint64_t begin, std::uint64_t end, std::size_t columns);

// Merges b into a (same layout): the per-column union; used to join threads.
void mergeEnvelope(Envelope& a, const Envelope& b);

}  // namespace orvenda::analysis

#endif
