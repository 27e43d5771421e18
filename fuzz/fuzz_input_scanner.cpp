// The input scanner of the five file layouts (free-format I/Q text, CSV,
// single-channel text, 16-bit and float binary pairs), fed from memory
// through the chunked code that reads files. The first bytes choose the
// layout, two chunk sizes, the record limit and the progress interval; the
// rest is the file. Checks: the outcome does not depend on the chunk size
// nor on the threads (2 to 7, pieces of 1 to 97 bytes, against one thread),
// it equals a slow record-by-record reading, counts stay within the bytes
// and the limit, peaks are finite and non-negative, progress comes at every
// interval.
#include <algorithm>
#include <bit>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include <fuzzer/FuzzedDataProvider.h>

#include "core/input/scanner.h"
#include "fuzz/fuzz_check.h"

using namespace orvenda::fuzz;
using orvenda::input::InputLayout;
using orvenda::input::ScanError;
using orvenda::input::ScanFault;
using orvenda::input::ScanOptions;
using orvenda::input::ScanOutcome;

namespace {

// Counting as the loads count: the record beyond the limit stops reading.
struct Tally {
    int64_t limit;
    int64_t count = 0;
    bool exceeded = false;
    bool add() {
        if (count == limit) {
            exceeded = true;
            return false;
        }
        ++count;
        return true;
    }
};

struct Expected {
    int64_t count = 0;
    double peakI = 0.0;
    double peakQ = 0.0;
    bool exceeded = false;
    bool failed = false;
    ScanFault fault = ScanFault::CannotOpen;
    int64_t position = 0;
};

Expected failure(ScanFault fault, int64_t position) {
    Expected e;
    e.failed = true;
    e.fault = fault;
    e.position = position;
    return e;
}

Expected finished(const Tally& tally, double peakI, double peakQ) {
    Expected e;
    e.count = tally.count;
    e.peakI = peakI;
    e.peakQ = peakQ;
    e.exceeded = tally.exceeded;
    return e;
}

// A strict number, whole: the value, or the fault.
bool strictValue(std::string_view item, double& value, ScanFault& fault) {
    if (item.empty() || decimalPrefixLength(item) != item.size()) {
        fault = ScanFault::NotANumber;
        return false;
    }
    const Reference reference = referenceValue(item);
    if (reference.overflow) {
        fault = ScanFault::NotFinite;
        return false;
    }
    value = reference.value;
    return true;
}

bool isFreeSeparator(char c) { return c == ',' || c == ' ' || c == '\t' || c == '\n' || c == '\r'; }

Expected referenceFreeFormat(std::string_view bytes, int valuesPerRecord, int64_t limit) {
    Tally tally{limit};
    double peaks[2] = {0.0, 0.0};
    int64_t line = 1;
    int64_t pendingLine = 0;
    int taken = 0;  // values of the current record
    std::size_t p = 0;
    for (;;) {
        while (p < bytes.size() && isFreeSeparator(bytes[p])) line += bytes[p++] == '\n';
        if (p == bytes.size()) break;
        std::size_t end = p;
        while (end < bytes.size() && !isFreeSeparator(bytes[end])) ++end;
        double value = 0.0;
        ScanFault fault{};
        if (!strictValue(bytes.substr(p, end - p), value, fault)) return failure(fault, line);
        p = end;
        peaks[taken] = std::max(peaks[taken], std::fabs(value));
        if (++taken < valuesPerRecord) {
            pendingLine = line;
            continue;
        }
        taken = 0;
        if (!tally.add()) return finished(tally, peaks[0], peaks[1]);
    }
    if (taken != 0) return failure(ScanFault::OddValueCount, pendingLine);
    return finished(tally, peaks[0], peaks[1]);
}

std::string_view trimBlanks(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t')) s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t')) s.remove_suffix(1);
    return s;
}

Expected referenceCsv(std::string_view bytes, int64_t limit) {
    Tally tally{limit};
    double peakI = 0.0;
    double peakQ = 0.0;
    int64_t line = 1;
    std::size_t p = 0;
    while (p < bytes.size()) {
        std::size_t feed = bytes.find('\n', p);
        std::string_view text = bytes.substr(p, feed == std::string_view::npos ? std::string_view::npos : feed - p);
        p = feed == std::string_view::npos ? bytes.size() : feed + 1;
        if (!text.empty() && text.back() == '\r') text.remove_suffix(1);
        const std::size_t comma1 = text.find(',');
        if (comma1 == std::string_view::npos) return failure(ScanFault::TooFewFields, line);
        const std::size_t comma2 = text.find(',', comma1 + 1);
        double i = 0.0;
        double q = 0.0;
        ScanFault fault{};
        if (!strictValue(trimBlanks(text.substr(0, comma1)), i, fault)) return failure(fault, line);
        const std::string_view second =
            text.substr(comma1 + 1, comma2 == std::string_view::npos ? std::string_view::npos : comma2 - comma1 - 1);
        if (!strictValue(trimBlanks(second), q, fault)) return failure(fault, line);
        peakI = std::max(peakI, std::fabs(i));
        peakQ = std::max(peakQ, std::fabs(q));
        if (!tally.add()) break;
        ++line;
    }
    return finished(tally, peakI, peakQ);
}

// A record cut short by the end of the data has zero bytes for the rest.
template <typename Item>
Expected referenceBinary(std::string_view bytes, int64_t limit) {
    constexpr std::size_t kRecord = 2 * sizeof(Item);
    Tally tally{limit};
    double peakI = 0.0;
    double peakQ = 0.0;
    const std::size_t records = (bytes.size() + kRecord - 1) / kRecord;
    for (std::size_t r = 0; r < records; ++r) {
        unsigned char raw[kRecord] = {};
        std::memcpy(raw, bytes.data() + r * kRecord, std::min(kRecord, bytes.size() - r * kRecord));
        double values[2];
        for (int c = 0; c < 2; ++c) {
            const unsigned char* b = raw + c * sizeof(Item);
            if constexpr (sizeof(Item) == 2) {
                values[c] = static_cast<int16_t>(static_cast<uint16_t>(b[0] | (b[1] << 8)));
            } else {
                values[c] = std::bit_cast<float>(
                    static_cast<uint32_t>(b[0] | (b[1] << 8) | (b[2] << 16) | (uint32_t{b[3]} << 24)));
            }
        }
        if (!std::isfinite(values[0]) || !std::isfinite(values[1]))
            return failure(ScanFault::NotFinite, static_cast<int64_t>(r) + 1);
        peakI = std::max(peakI, std::fabs(values[0]));
        peakQ = std::max(peakQ, std::fabs(values[1]));
        if (!tally.add()) break;
    }
    return finished(tally, peakI, peakQ);
}

Expected reference(std::string_view bytes, InputLayout layout, int64_t limit) {
    switch (layout) {
    case InputLayout::SingleChannelText: return referenceFreeFormat(bytes, 1, limit);
    case InputLayout::FreeFormatIQText: return referenceFreeFormat(bytes, 2, limit);
    case InputLayout::CsvIQText: return referenceCsv(bytes, limit);
    case InputLayout::BinaryShortPairs: return referenceBinary<int16_t>(bytes, limit);
    case InputLayout::BinaryFloatPairs: return referenceBinary<float>(bytes, limit);
    }
    return {};
}

struct Run {
    ScanOutcome outcome;
    std::vector<int64_t> reports;
};

Run scanWith(const std::string& bytes, InputLayout layout, ScanOptions options, std::size_t chunkBytes,
             unsigned threads = 1, std::size_t pieceBytes = orvenda::input::kDefaultPieceBytes) {
    Run run;
    options.chunkBytes = chunkBytes;
    options.threads = threads;
    options.pieceBytes = pieceBytes;
    options.onProgress = [&run](int64_t count) { run.reports.push_back(count); };
    run.outcome = orvenda::input::scanBytes(bytes, layout, options);
    return run;
}

bool sameError(const ScanError& a, const ScanError& b) {
    return a.fault == b.fault && a.position == b.position && a.detail == b.detail;
}

bool sameOutcome(const Run& a, const Run& b) {
    if (a.outcome.ok() != b.outcome.ok() || a.reports != b.reports) return false;
    if (!a.outcome.ok()) return sameError(*a.outcome.error, *b.outcome.error);
    const auto& x = a.outcome.result;
    const auto& y = b.outcome.result;
    return x.count == y.count && sameNumber(x.peakI, y.peakI) && sameNumber(x.peakQ, y.peakQ) &&
           x.limitExceeded == y.limitExceeded;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    FuzzedDataProvider provider(data, size);
    const auto layout = static_cast<InputLayout>(provider.ConsumeIntegralInRange<int>(0, 4));
    const std::size_t smallChunk = provider.ConsumeIntegralInRange<std::size_t>(1, 24);
    const std::size_t largeChunk = provider.ConsumeIntegralInRange<std::size_t>(25, 1 << 16);
    ScanOptions options;
    if (provider.ConsumeBool()) options.recordLimit = provider.ConsumeIntegralInRange<int64_t>(0, 40);
    options.progressInterval = provider.ConsumeIntegralInRange<int64_t>(1, 16);
    const std::string bytes = provider.ConsumeRemainingBytesAsString();

    const Run small = scanWith(bytes, layout, options, smallChunk);
    const Run large = scanWith(bytes, layout, options, largeChunk);
    const ScanOutcome& got = small.outcome;

    // The chunk size is a matter of speed only.
    FUZZ_CHECK(got.ok() == large.outcome.ok(), "chunks of %zu and %zu bytes: ok %d and %d", smallChunk, largeChunk,
               got.ok(), large.outcome.ok());
    if (!got.ok()) {
        FUZZ_CHECK(sameError(*got.error, *large.outcome.error), "chunks of %zu and %zu bytes: errors differ",
                   smallChunk, largeChunk);
    } else {
        const auto& a = got.result;
        const auto& b = large.outcome.result;
        FUZZ_CHECK(a.count == b.count && a.peakI == b.peakI && a.peakQ == b.peakQ && a.limitExceeded == b.limitExceeded,
                   "chunks of %zu and %zu bytes: results differ", smallChunk, largeChunk);
    }
    FUZZ_CHECK(small.reports == large.reports, "progress differs between chunk sizes");

    // Nor is the thread count: the threaded scan cuts every chunk into pieces
    // (settings derived from the chunk sizes, so the seeds keep their meaning).
    const unsigned threads = 2 + static_cast<unsigned>(smallChunk % 6);
    const std::size_t pieceBytes = 1 + largeChunk % 97;
    for (const std::size_t chunk : {smallChunk, largeChunk}) {
        const Run threaded = scanWith(bytes, layout, options, chunk, threads, pieceBytes);
        FUZZ_CHECK(sameOutcome(threaded, large), "%u threads, chunks of %zu bytes, pieces of %zu: outcome differs",
                   threads, chunk, pieceBytes);
    }

    const Expected expected = reference(bytes, layout, options.recordLimit);
    if (expected.failed || !got.ok()) {
        FUZZ_CHECK(expected.failed && !got.ok(), "layout %d: scanner ok %d, reference ok %d", static_cast<int>(layout),
                   got.ok(), !expected.failed);
        FUZZ_CHECK(got.error->fault == expected.fault && got.error->position == expected.position,
                   "layout %d: fault %d at %lld, reference fault %d at %lld", static_cast<int>(layout),
                   static_cast<int>(got.error->fault), static_cast<long long>(got.error->position),
                   static_cast<int>(expected.fault), static_cast<long long>(expected.position));
    } else {
        const auto& r = got.result;
        FUZZ_CHECK(r.count == expected.count && r.limitExceeded == expected.exceeded,
                   "layout %d: %lld records (limit exceeded %d), reference %lld (%d)", static_cast<int>(layout),
                   static_cast<long long>(r.count), r.limitExceeded, static_cast<long long>(expected.count),
                   expected.exceeded);
        FUZZ_CHECK(sameNumber(r.peakI, expected.peakI) && sameNumber(r.peakQ, expected.peakQ),
                   "layout %d: peaks %.17g, %.17g; reference %.17g, %.17g", static_cast<int>(layout), r.peakI, r.peakQ,
                   expected.peakI, expected.peakQ);
        FUZZ_CHECK(std::isfinite(r.peakI) && std::isfinite(r.peakQ) && r.peakI >= 0.0 && r.peakQ >= 0.0, "peaks %g, %g",
                   r.peakI, r.peakQ);
        FUZZ_CHECK(r.count <= options.recordLimit && (!r.limitExceeded || r.count == options.recordLimit),
                   "%lld records against a limit of %lld", static_cast<long long>(r.count),
                   static_cast<long long>(options.recordLimit));
        const bool binary = layout == InputLayout::BinaryShortPairs || layout == InputLayout::BinaryFloatPairs;
        FUZZ_CHECK(r.count <= static_cast<int64_t>(binary ? (bytes.size() + 3) / 4 : bytes.size()),
                   "%lld records in %zu bytes", static_cast<long long>(r.count), bytes.size());
        if (layout == InputLayout::SingleChannelText) FUZZ_CHECK(r.peakQ == 0.0, "a single channel has a Q peak");
        // A report at every multiple of the interval up to the count.
        std::vector<int64_t> due;
        for (int64_t n = options.progressInterval; n <= r.count; n += options.progressInterval) due.push_back(n);
        FUZZ_CHECK(small.reports == due, "%zu progress reports for %lld records every %lld", small.reports.size(),
                   static_cast<long long>(r.count), static_cast<long long>(options.progressInterval));
    }
    return 0;
}
