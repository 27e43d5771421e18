// Free-format text: numbers separated by any run of commas, blanks, tabs
// and line ends, one value per record (a single-channel file) or two, I then
// Q, paired in order regardless of lines.
#ifndef ORVENDA_GUI_INPUT_FREE_FORMAT_READER_H
#define ORVENDA_GUI_INPUT_FREE_FORMAT_READER_H

#include <cstdint>

#include "input/record_tally.h"
#include "input/scan_types.h"
#include "input/text_chunks.h"

namespace orvenda::input {

class FreeFormatReader {
public:
    FreeFormatReader(int valuesPerRecord, RecordTally& tally)
        : valuesPerRecord_(valuesPerRecord), tally_(tally) {}

    static const char* completeEnd(const char* begin, const char* end);
    ReadStep consume(const char* begin, const char* end, bool final);
    int64_t line() const { return line_; }
    const ScanError& error() const { return error_; }
    ScanResult result() const { return tally_.finish(peakI_, peakQ_); }

private:
    ReadStep fail(ScanFault fault, int64_t line, std::string detail);

    int valuesPerRecord_;
    RecordTally& tally_;
    int64_t line_ = 1;
    double peakI_ = 0.0;
    double peakQ_ = 0.0;
    bool havePendingI_ = false;
    int64_t pendingLine_ = 0;
    ScanError error_;
};

}  // namespace orvenda::input

#endif
