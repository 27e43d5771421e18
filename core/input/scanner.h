// Counting the records of an input sample file and finding the largest I and
// Q magnitudes, without keeping any sample: one sequential pass in chunks,
// memory independent of the file's size. Used by the load commands, and
// meant for the command line and the fuzz targets as well.
#ifndef ORVENDA_GUI_INPUT_SCANNER_H
#define ORVENDA_GUI_INPUT_SCANNER_H

#include <string>
#include <string_view>

#include "core/input/input_layout.h"
#include "core/input/scan_types.h"
#include "engine/byte_source.h"

namespace orvenda::input {

// Scans the file at `path` (the file system's narrow encoding).
ScanOutcome scanFile(const std::string& path, InputLayout layout, const ScanOptions& options = {});

// Scans bytes held in memory, through the same chunked code as a file.
ScanOutcome scanBytes(std::string_view bytes, InputLayout layout, const ScanOptions& options = {});

// The threads that parse text for ScanOptions::threads = `requested`.
unsigned textScanThreads(unsigned requested);

// Scans whatever the source delivers.
ScanOutcome scan(halvik::ByteSource& source, InputLayout layout, const ScanOptions& options = {});

}  // namespace orvenda::input

#endif
