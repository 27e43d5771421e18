// Binary I/Q pairs without header: little-endian int16 or IEEE 754 float.
// A record cut short by the end of the file still counts, its missing bytes
// read as 0.
#ifndef ORVENDA_GUI_INPUT_BINARY_PAIR_READER_H
#define ORVENDA_GUI_INPUT_BINARY_PAIR_READER_H

#include <cstddef>

#include "core/input/byte_reads.h"
#include "core/input/record_tally.h"
#include "core/input/scan_types.h"

namespace orvenda::input {

ScanOutcome readShortPairs(halvik::ByteSource& source, RecordTally& tally, std::size_t chunkBytes);
ScanOutcome readFloatPairs(halvik::ByteSource& source, RecordTally& tally, std::size_t chunkBytes);

}  // namespace orvenda::input

#endif
