#include "core/input/scanner.h"

#include "core/input/binary_pair_reader.h"
#include "core/input/csv_reader.h"
#include "core/input/free_format_reader.h"
#include "core/input/parallel_text_chunks.h"
#include "core/input/record_tally.h"
#include "engine/thread_count.h"

#include <algorithm>
#include <system_error>

namespace orvenda::input {
namespace {

template <class Reader>
ScanOutcome readText(halvik::ByteSource& source, Reader& reader, const ScanOptions& options) {
    const unsigned threads = textScanThreads(options.threads);
    if (threads <= 1) return readTextChunks(source, reader, options.chunkBytes);
    ParallelTextChunks<Reader> parallel(reader, threads, options.pieceBytes);
    return readTextChunks(source, parallel, options.chunkBytes);
}

}  // namespace

unsigned textScanThreads(unsigned requested) {
    return halvik::conversionThreads(static_cast<int>(std::min(requested, halvik::kMaxThreads)));
}

ScanOutcome scan(halvik::ByteSource& source, InputLayout layout, const ScanOptions& options) {
    RecordTally tally(options);
    switch (layout) {
    case InputLayout::SingleChannelText: {
        FreeFormatReader reader(1, tally);
        return readText(source, reader, options);
    }
    case InputLayout::FreeFormatIQText: {
        FreeFormatReader reader(2, tally);
        return readText(source, reader, options);
    }
    case InputLayout::CsvIQText: {
        CsvReader reader(tally);
        return readText(source, reader, options);
    }
    case InputLayout::BinaryShortPairs: return readShortPairs(source, tally, options.chunkBytes);
    case InputLayout::BinaryFloatPairs: return readFloatPairs(source, tally, options.chunkBytes);
    }
    return {{}, ScanError{ScanFault::ReadFailed, 0, "unknown layout"}};
}

ScanOutcome scanFile(const std::string& path, InputLayout layout, const ScanOptions& options) {
    int openError = 0;
    const auto source = halvik::FileByteSource::open(path, halvik::FileByteSource::Folders::Open, &openError);
    if (!source) return {{}, ScanError{ScanFault::CannotOpen, 0, std::generic_category().message(openError)}};
    return scan(*source, layout, options);
}

ScanOutcome scanBytes(std::string_view bytes, InputLayout layout, const ScanOptions& options) {
    halvik::MemoryByteSource source(bytes);
    return scan(source, layout, options);
}

}  // namespace orvenda::input
