#include "core/input/free_format_reader.h"

#include <algorithm>
#include <bit>
#include <cmath>

#include "core/input/separator_mask.h"
#include "core/settings/number_token.h"

namespace orvenda::input {

using settings::NumberStatus;
using settings::NumberToken;
using settings::readNumber;

const char* FreeFormatReader::completeEnd(const char* begin, const char* end) {
    for (const char* p = end; p != begin; --p)
        if (isFreeFormatSeparator(p[-1])) return p;
    return begin;
}

int64_t FreeFormatReader::lineAt(const char* at) const { return line_ + countLineFeeds(chunkBegin_, at); }

ReadStep FreeFormatReader::fail(ScanFault fault, const char* at, std::string detail) {
    error_ = ScanError{fault, at != nullptr ? lineAt(at) : pendingLine_, std::move(detail)};
    return ReadStep::Failed;
}

bool FreeFormatReader::take(double value, const char* at) {
    const double magnitude = std::fabs(value);
    if (valuesPerRecord_ == 1) {
        peakI_ = std::max(peakI_, magnitude);
        return tally_.add();
    }
    if (!havePendingI_) {
        peakI_ = std::max(peakI_, magnitude);
        havePendingI_ = true;
        pendingAt_ = at;
        return true;
    }
    peakQ_ = std::max(peakQ_, magnitude);
    havePendingI_ = false;
    return tally_.add();
}

bool FreeFormatReader::readItem(const char* p, const char* itemEnd, const char* end, ReadStep& step) {
    // The number may be read with the whole chunk in view: it stops at the
    // separator anyway, and a longer view lets digits go eight at a time.
    const NumberToken token = readNumber(p, end);
    if (token.status == NumberStatus::Ok && token.end == itemEnd) {
        if (!take(token.value, p)) {
            step = ReadStep::Stop;
            return false;
        }
        return true;
    }
    const ScanFault fault =
        token.status == NumberStatus::Overflow && token.end == itemEnd ? ScanFault::NotFinite : ScanFault::NotANumber;
    step = fail(fault, p, shortenedItem(p, itemEnd));
    return false;
}

const char* FreeFormatReader::consumeBlock(const char* p, const char* end, ReadStep& step) {
    const uint64_t separators = separatorMask(p);
    uint64_t items = ~separators;
    while (items != 0) {
        const int start = std::countr_zero(items);
        const uint64_t after = separators & (~uint64_t{0} << start);
        if (after == 0) return p + start;  // the item goes on beyond these 64 bytes
        const int stop = std::countr_zero(after);
        if (!readItem(p + start, p + stop, end, step)) return p + stop;
        items &= ~uint64_t{0} << stop;
    }
    return p + 64;
}

const char* FreeFormatReader::consumeRest(const char* p, const char* end, ReadStep& step) {
    for (;;) {
        while (p < end && isFreeFormatSeparator(*p)) ++p;
        if (p == end) return p;
        const char* itemEnd = p;
        while (itemEnd < end && !isFreeFormatSeparator(*itemEnd)) ++itemEnd;
        if (!readItem(p, itemEnd, end, step)) return itemEnd;
        p = itemEnd;
    }
}

ReadStep FreeFormatReader::consume(const char* begin, const char* end, bool final) {
    chunkBegin_ = begin;
    ReadStep step = ReadStep::Continue;
    const char* p = begin;
    while (step == ReadStep::Continue && end - p >= 64) {
        const char* next = consumeBlock(p, end, step);
        if (next == p) {
            // One item fills all 64 bytes: read it alone.
            const char* itemEnd = p;
            while (itemEnd < end && !isFreeFormatSeparator(*itemEnd)) ++itemEnd;
            readItem(p, itemEnd, end, step);
            next = itemEnd;
        }
        p = next;
    }
    if (step == ReadStep::Continue) consumeRest(p, end, step);
    if (step != ReadStep::Continue) return step;
    if (havePendingI_ && pendingAt_ != nullptr) {
        pendingLine_ = lineAt(pendingAt_);
        pendingAt_ = nullptr;  // the chunk's memory is reused
    }
    line_ += countLineFeeds(begin, end);
    if (final && havePendingI_) return fail(ScanFault::OddValueCount, nullptr, {});
    return ReadStep::Continue;
}

bool FreeFormatReader::absorb(const FreeFormatReader& piece, const char* begin, const char* end) {
    // The piece paired its items from its own start: its "I" are the items
    // at even places, its "Q" those at odd places. After an I left pending
    // here, the roles swap and the piece's first item completes that record.
    const bool swapped = valuesPerRecord_ == 2 && havePendingI_;
    const int64_t pieceRecords = piece.tally_.count();
    const int64_t records = pieceRecords + (swapped && piece.havePendingI_ ? 1 : 0);
    if (records > tally_.room()) return false;
    peakI_ = std::max(peakI_, swapped ? piece.peakQ_ : piece.peakI_);
    peakQ_ = std::max(peakQ_, swapped ? piece.peakI_ : piece.peakQ_);
    if (valuesPerRecord_ == 2) {
        const bool pendingAfter = swapped != piece.havePendingI_;
        if (!swapped && pendingAfter) {
            pendingLine_ = line_ + piece.pendingLine_ - 1;
        } else if (swapped && pendingAfter && pieceRecords > 0) {
            // The piece's last item is the new pending I: its line is the
            // piece's last line less the line feeds after it.
            int64_t feedsAfter = 0;
            for (const char* p = end; p != begin && isFreeFormatSeparator(p[-1]); --p) feedsAfter += p[-1] == '\n';
            pendingLine_ = line_ + (piece.line_ - 1) - feedsAfter;
        }
        havePendingI_ = pendingAfter;
        pendingAt_ = nullptr;
    }
    line_ += piece.line_ - 1;
    tally_.addWithinLimit(records);
    return true;
}

}  // namespace orvenda::input
