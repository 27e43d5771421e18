// CSV text: one record per line; the line (without its line end) is split at
// every ","; field 0 is I and field 1 is Q, each a strict number (blanks and
// tabs around it allowed); further fields are ignored.
#ifndef ORVENDA_GUI_INPUT_CSV_READER_H
#define ORVENDA_GUI_INPUT_CSV_READER_H

#include <cstdint>

#include "core/input/record_tally.h"
#include "core/input/scan_types.h"
#include "core/input/text_chunks.h"

namespace orvenda::input {

class CsvReader {
public:
    explicit CsvReader(RecordTally& tally) : tally_(tally) {}

    static const char* completeEnd(const char* begin, const char* end);
    ReadStep consume(const char* begin, const char* end, bool final);
    int64_t line() const { return line_; }
    const ScanError& error() const { return error_; }
    ScanResult result() const { return tally_.finish(peakI_, peakQ_); }

    // A fresh reader for one piece of a chunk (whole lines).
    CsvReader pieceReader(RecordTally& tally) const { return CsvReader(tally); }
    // Takes in what `piece`, a fresh reader, found in its whole lines
    // (consumed without failure), as if this reader had read them. False,
    // changing nothing, when its records pass the limit.
    bool absorb(const CsvReader& piece, const char* begin, const char* end);

private:
    struct Fields {
        double i;
        double q;
        const char* next;  // start of the following line
    };
    // The common line "number,number" or "number,number,...", or nothing.
    static bool readQuick(const char* p, const char* end, Fields& fields);
    // Any line, with the exact diagnosis when it cannot be read.
    bool readCarefully(const char* p, const char* end, Fields& fields);

    RecordTally& tally_;
    int64_t line_ = 1;
    double peakI_ = 0.0;
    double peakQ_ = 0.0;
    ScanError error_;
};

}  // namespace orvenda::input

#endif
