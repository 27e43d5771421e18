// Free-format text: numbers separated by any run of commas, blanks, tabs
// and line ends, one value per record (a single-channel file) or two, I then
// Q, paired in order regardless of lines.
#ifndef ORVENDA_GUI_INPUT_FREE_FORMAT_READER_H
#define ORVENDA_GUI_INPUT_FREE_FORMAT_READER_H

#include <cstdint>

#include "core/input/record_tally.h"
#include "core/input/scan_types.h"
#include "core/input/text_chunks.h"

namespace orvenda::input {

class FreeFormatReader {
public:
    FreeFormatReader(int valuesPerRecord, RecordTally& tally) : valuesPerRecord_(valuesPerRecord), tally_(tally) {}

    static const char* completeEnd(const char* begin, const char* end);
    ReadStep consume(const char* begin, const char* end, bool final);
    int64_t line() const { return line_; }
    const ScanError& error() const { return error_; }
    ScanResult result() const { return tally_.finish(peakI_, peakQ_); }

    // A fresh reader of the same layout for one piece of a chunk.
    FreeFormatReader pieceReader(RecordTally& tally) const { return FreeFormatReader(valuesPerRecord_, tally); }
    // Takes in what `piece`, a fresh reader, found in [begin, end) (consumed
    // without failure, not final), as if this reader had consumed those
    // bytes. False, changing nothing, when its records pass the limit.
    bool absorb(const FreeFormatReader& piece, const char* begin, const char* end);

private:
    // Reads the items of 64 bytes from `p`; returns where the next unread item starts.
    const char* consumeBlock(const char* p, const char* end, ReadStep& step);
    // Reads the items of [p, end) one by one.
    const char* consumeRest(const char* p, const char* end, ReadStep& step);
    // Reads the item at `p` that ends at `itemEnd` (a separator or `end`).
    bool readItem(const char* p, const char* itemEnd, const char* end, ReadStep& step);
    // Takes one value read at `at`; false when the record exceeded the limit.
    bool take(double value, const char* at);
    ReadStep fail(ScanFault fault, const char* at, std::string detail);
    int64_t lineAt(const char* at) const;

    int valuesPerRecord_;
    RecordTally& tally_;
    int64_t line_ = 1;  // line of the start of the current chunk
    const char* chunkBegin_ = nullptr;
    double peakI_ = 0.0;
    double peakQ_ = 0.0;
    bool havePendingI_ = false;        // an I value read, its Q not yet
    const char* pendingAt_ = nullptr;  // where, while in the current chunk
    int64_t pendingLine_ = 0;          // its line, once the chunk is done
    ScanError error_;
};

}  // namespace orvenda::input

#endif
