// Text parsed on several threads with the outcome of one reader: each chunk
// is cut at item boundaries into pieces, every piece is read by a fresh
// reader of its own on a worker team, and the pieces are taken into the
// scan's reader strictly in order (records, peaks by the parity of their
// items, lines, progress reports). A piece that failed, or whose records
// would pass the limit, is read once more by the scan's reader itself, so
// the first error, its line and the stop come from the same code as in the
// single-threaded scan; the pieces after it are dropped.
#ifndef ORVENDA_GUI_INPUT_PARALLEL_TEXT_CHUNKS_H
#define ORVENDA_GUI_INPUT_PARALLEL_TEXT_CHUNKS_H

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <memory>
#include <vector>

#include "core/input/record_tally.h"
#include "core/input/scan_types.h"
#include "core/input/text_chunks.h"
#include "engine/worker_team.h"

namespace orvenda::input {

// Where to cut [begin, end) into pieces of about pieceBytes, each ending just
// past an item boundary (`completeEnd` as the readers define it); the last
// piece ends at `end`. Returns the end of every piece.
template <class CompleteEnd>
std::vector<const char*> pieceEnds(const char* begin, const char* end, std::size_t pieceBytes,
                                   CompleteEnd completeEnd) {
    pieceBytes = std::max<std::size_t>(pieceBytes, 1);
    std::vector<const char*> ends;
    const char* p = begin;
    while (static_cast<std::size_t>(end - p) >= 2 * pieceBytes) {
        // An item longer than a piece: look further ahead.
        const char* cut = p;
        for (std::size_t reach = pieceBytes; cut == p; reach *= 2) {
            const char* limit = static_cast<std::size_t>(end - p) > reach ? p + reach : end;
            cut = completeEnd(p, limit);
            if (limit == end) break;
        }
        if (cut == p) break;
        ends.push_back(cut);
        p = cut;
    }
    if (p != end) ends.push_back(end);
    return ends;
}

// Reader requirements, beyond those of readTextChunks:
//   Reader pieceReader(RecordTally& tally) const;  // a fresh reader, same layout
//   bool absorb(const Reader& piece, const char* begin, const char* end);
template <class Reader>
class ParallelTextChunks {
public:
    ParallelTextChunks(Reader& reader, unsigned threads, std::size_t pieceBytes)
        : reader_(reader), threads_(threads), pieceBytes_(std::max<std::size_t>(pieceBytes, 1)) {}

    static const char* completeEnd(const char* begin, const char* end) { return Reader::completeEnd(begin, end); }
    int64_t line() const { return reader_.line(); }
    const ScanError& error() const { return reader_.error(); }
    ScanResult result() const { return reader_.result(); }

    ReadStep consume(const char* begin, const char* end, bool final) {
        const std::vector<const char*> ends = pieceEnds(begin, end, pieceBytes_, &Reader::completeEnd);
        if (ends.size() < 2) return reader_.consume(begin, end, final);
        if (!team_) team_ = std::make_unique<halvik::WorkerTeam>(threads_);
        pieces_.clear();
        const char* from = begin;
        for (const char* to : ends) {
            pieces_.push_back(std::make_unique<Piece>(from, to, reader_));
            from = to;
        }
        team_->run(pieces_.size(), [this](std::size_t k) {
            Piece& piece = *pieces_[k];
            piece.step = piece.reader.consume(piece.begin, piece.end, false);
        });
        for (const auto& piece : pieces_) {
            if (piece->step == ReadStep::Continue && reader_.absorb(piece->reader, piece->begin, piece->end)) continue;
            const ReadStep step = reader_.consume(piece->begin, piece->end, false);
            if (step != ReadStep::Continue) return step;
        }
        // Whatever the end of the text checks (an I without its Q).
        return final ? reader_.consume(end, end, true) : ReadStep::Continue;
    }

private:
    // Counts without limit and reports nothing.
    static const ScanOptions& unlimited() {
        static const ScanOptions options = [] {
            ScanOptions o;
            o.recordLimit = std::numeric_limits<int64_t>::max();
            o.progressInterval = std::numeric_limits<int64_t>::max();
            return o;
        }();
        return options;
    }

    struct Piece {
        Piece(const char* from, const char* to, const Reader& like)
            : begin(from), end(to), tally(unlimited()), reader(like.pieceReader(tally)) {}
        const char* begin;
        const char* end;
        RecordTally tally;
        Reader reader;
        ReadStep step = ReadStep::Continue;
    };

    Reader& reader_;
    unsigned threads_;
    std::size_t pieceBytes_;
    std::unique_ptr<halvik::WorkerTeam> team_;  // started by the first chunk that is cut
    std::vector<std::unique_ptr<Piece>> pieces_;
};

}  // namespace orvenda::input

#endif
