#include "core/analysis/envelope.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace orvenda::analysis {
namespace {

constexpr std::size_t kReadChunk = 1 << 16;

// Smallest and largest of i*i + q*q over a run; integers, so the loop vectorises.
void powerRange(const std::int16_t* i, const std::int16_t* q, std::size_t count, std::int32_t& low,
                std::int32_t& high) {
    std::int32_t lo = std::numeric_limits<std::int32_t>::max();
    std::int32_t hi = 0;
    for (std::size_t k = 0; k < count; ++k) {
        std::int32_t p = std::int32_t{i[k]} * i[k] + std::int32_t{q[k]} * q[k];
        lo = std::min(lo, p);
        hi = std::max(hi, p);
    }
    low = lo;
    high = hi;
}

void foldRun(EnvelopeColumn& column, const SampleBlock& block, std::size_t from, std::size_t to) {
    const std::int16_t* i = block.i.data() + from;
    const std::int16_t* q = block.q.data() + from;
    const std::size_t n = to - from;
    const bool wasEmpty = column.minI > column.maxI;
    std::int16_t minI = column.minI, maxI = column.maxI, minQ = column.minQ, maxQ = column.maxQ;
    for (std::size_t k = 0; k < n; ++k) {
        minI = std::min(minI, i[k]);
        maxI = std::max(maxI, i[k]);
        minQ = std::min(minQ, q[k]);
        maxQ = std::max(maxQ, q[k]);
    }
    column.minI = minI;
    column.maxI = maxI;
    column.minQ = minQ;
    column.maxQ = maxQ;
    std::int32_t low = 0, high = 0;
    powerRange(i, q, n, low, high);
    const float lowMagnitude = std::sqrt(static_cast<float>(low));
    const float highMagnitude = std::sqrt(static_cast<float>(high));
    column.minMagnitude = wasEmpty ? lowMagnitude : std::min(column.minMagnitude, lowMagnitude);
    column.maxMagnitude = wasEmpty ? highMagnitude : std::max(column.maxMagnitude, highMagnitude);
    std::uint8_t any = 0, all = kMarker1 | kMarker2;
    const std::uint8_t* markers = block.markers.data() + from;
    for (std::size_t k = 0; k < n; ++k) {
        any |= markers[k];
        all &= markers[k];
    }
    column.markersHigh |= any;
    column.markersLow |= static_cast<std::uint8_t>(~all & (kMarker1 | kMarker2));
}

void markEmpty(EnvelopeColumn& column) {
    column.minI = column.minQ = std::numeric_limits<std::int16_t>::max();
    column.maxI = column.maxQ = std::numeric_limits<std::int16_t>::min();
    column.minMagnitude = std::numeric_limits<float>::infinity();
    column.maxMagnitude = 0.0f;
    column.markersHigh = column.markersLow = 0;
}

}  // namespace

std::uint64_t columnStart(std::uint64_t begin, std::uint64_t end, std::size_t columns, std::size_t column) {
    const std::uint64_t n = end - begin;
    if (n <= columns) return begin + std::min<std::uint64_t>(column, n);
    // floor(n * column / columns) without the product overflowing.
    const std::uint64_t whole = n / columns;
    const std::uint64_t rest = n % columns;
    return begin + whole * column + rest * column / columns;
}

Envelope emptyEnvelope(std::uint64_t begin, std::uint64_t end, std::size_t columns) {
    Envelope envelope;
    envelope.begin = begin;
    envelope.end = std::max(begin, end);
    const std::uint64_t n = envelope.end - begin;
    const std::size_t count = columns == 0 ? 0 : static_cast<std::size_t>(std::min<std::uint64_t>(n, columns));
    envelope.columns.resize(count);
    for (std::size_t c = 0; c < count; ++c) {
        EnvelopeColumn& column = envelope.columns[c];
        column.first = columnStart(begin, envelope.end, count, c);
        column.end = columnStart(begin, envelope.end, count, c + 1);
        markEmpty(column);
    }
    return envelope;
}

void addToEnvelope(Envelope& envelope, std::uint64_t first, const SampleBlock& block) {
    if (envelope.columns.empty() || block.size() == 0) return;
    const std::uint64_t from = std::max(first, envelope.begin);
    const std::uint64_t to = std::min(first + block.size(), envelope.end);
    if (from >= to) return;
    const std::uint64_t n = envelope.end - envelope.begin;
    const std::size_t columns = envelope.columns.size();
    // The column of `from`: the estimate from the layout, then corrected.
    std::size_t c = static_cast<std::size_t>(static_cast<double>(from - envelope.begin) / static_cast<double>(n) *
                                             static_cast<double>(columns));
    c = std::min(c, columns - 1);
    while (c > 0 && envelope.columns[c].first > from) --c;
    while (envelope.columns[c].end <= from) ++c;
    for (std::uint64_t at = from; at < to; ++c) {
        EnvelopeColumn& column = envelope.columns[c];
        const std::uint64_t runEnd = std::min(column.end, to);
        foldRun(column, block, static_cast<std::size_t>(at - first), static_cast<std::size_t>(runEnd - first));
        at = runEnd;
    }
}

void mergeEnvelope(Envelope& a, const Envelope& b) {
    for (std::size_t c = 0; c < a.columns.size() && c < b.columns.size(); ++c) {
        EnvelopeColumn& x = a.columns[c];
        const EnvelopeColumn& y = b.columns[c];
        if (y.minI > y.maxI) continue;
        if (x.minI > x.maxI) {
            x = y;
            continue;
        }
        x.minI = std::min(x.minI, y.minI);
        x.maxI = std::max(x.maxI, y.maxI);
        x.minQ = std::min(x.minQ, y.minQ);
        x.maxQ = std::max(x.maxQ, y.maxQ);
        x.minMagnitude = std::min(x.minMagnitude, y.minMagnitude);
        x.maxMagnitude = std::max(x.maxMagnitude, y.maxMagnitude);
        x.markersHigh |= y.markersHigh;
        x.markersLow |= y.markersLow;
    }
}

Envelope computeEnvelope(const SampleSource& source, std::uint64_t begin, std::uint64_t end, std::size_t columns,
                         const AnalysisControl& control) {
    std::unique_ptr<SampleCursor> cursor = source.openCursor();
    if (!cursor) {
        Envelope envelope = emptyEnvelope(begin, begin, 0);
        envelope.status = {Outcome::Failed, "the samples cannot be read"};
        return envelope;
    }
    return computeEnvelope(source, *cursor, begin, end, columns, control);
}

Envelope computeEnvelope(const SampleSource& source, SampleCursor& cursor, std::uint64_t begin, std::uint64_t end,
                         std::size_t columns, const AnalysisControl& control) {
    end = std::min(end, source.size());
    begin = std::min(begin, end);
    Envelope envelope = emptyEnvelope(begin, end, columns);
    if (envelope.columns.empty()) return envelope;
    SampleBlock block;
    const double total = static_cast<double>(end - begin);
    double reported = 0.0;
    for (std::uint64_t at = begin; at < end;) {
        if (control.cancelled()) {
            envelope.status = {Outcome::Cancelled, {}};
            return envelope;
        }
        const std::size_t length = static_cast<std::size_t>(std::min<std::uint64_t>(end - at, kReadChunk));
        if (!cursor.read(at, length, block)) {
            envelope.status = {Outcome::Failed, cursor.error()};
            return envelope;
        }
        addToEnvelope(envelope, at, block);
        at += length;
        const double fraction = static_cast<double>(at - begin) / total;
        if (control.progress && fraction - reported >= 0.005) {
            control.progress(fraction);
            reported = fraction;
        }
    }
    return envelope;
}

}  // namespace orvenda::analysis
