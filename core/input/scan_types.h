// What a scan of an input file is asked to do and what it reports.
#ifndef ORVENDA_GUI_INPUT_SCAN_TYPES_H
#define ORVENDA_GUI_INPUT_SCAN_TYPES_H

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "core/settings/field_limits.h"

namespace orvenda::input {

// Largest record count a load takes without "Specify Data Size": the upper
// limit of the data size field (0x4000000).
inline constexpr auto kMaxRecords = static_cast<int64_t>(settings::kDataSizeLimits.high);
// Records between two progress reports.
inline constexpr int64_t kProgressInterval = 10'000;
// Bytes read from the file at once.
inline constexpr std::size_t kDefaultChunkBytes = std::size_t{4} << 20;
// Text is parsed on several threads in pieces of about this size; a chunk
// smaller than two pieces (a small file) is parsed on the calling thread.
inline constexpr std::size_t kDefaultPieceBytes = std::size_t{256} << 10;

struct ScanOptions {
    // Records beyond this are not counted and not read further. The record
    // that first exceeds it has been read and has entered the peaks (kept on
    // purpose: that is how the loads have always counted).
    int64_t recordLimit = kMaxRecords;
    // Called with the count at every multiple of progressInterval that does
    // not exceed the limit. May be empty.
    std::function<void(int64_t count)> onProgress;
    int64_t progressInterval = kProgressInterval;
    // Size of one read; tests lower it to put item boundaries on chunk edges.
    std::size_t chunkBytes = kDefaultChunkBytes;
    // Threads that parse text (binary layouts are read on one): 0 follows the
    // engine's rule (HALVIK_THREADS, else one per core), 1 is the plain
    // single-threaded scan. The outcome is the same for every count.
    unsigned threads = 0;
    // Size of the pieces a chunk of text is cut into; tests lower it.
    std::size_t pieceBytes = kDefaultPieceBytes;
};

struct ScanResult {
    int64_t count = 0;           // records counted, at most the limit
    double peakI = 0.0;          // largest |I| (a single-channel file: its channel)
    double peakQ = 0.0;          // largest |Q|; 0 for a single-channel file
    bool limitExceeded = false;  // the file held more records than the limit
};

enum class ScanFault {
    CannotOpen,     // the file cannot be opened
    ReadFailed,     // a read from the file failed
    NotANumber,     // a text item or CSV field is not a number
    NotFinite,      // a value is NaN or infinite, or a text number overflows a double
    OddValueCount,  // a free-format I/Q file whose last I has no Q
    TooFewFields,   // a CSV line with fewer than two fields
    ItemTooLong,    // a text item or CSV line longer than kMaxTextItemBytes
};

// Longest text item (free format) or line (CSV) the scanner holds at once.
inline constexpr std::size_t kMaxTextItemBytes = std::size_t{64} << 20;

struct ScanError {
    ScanFault fault = ScanFault::CannotOpen;
    // 1-based line of a text file, or 1-based record of a binary file; 0 when
    // the fault has no place (cannot open).
    int64_t position = 0;
    // The offending text item or field, shortened; or the system's reason.
    std::string detail;
};

struct ScanOutcome {
    ScanResult result;
    std::optional<ScanError> error;
    bool ok() const { return !error.has_value(); }
};

}  // namespace orvenda::input

#endif
