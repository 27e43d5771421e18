// Sample files for the scanner benchmark, written in streaming fashion.
#ifndef ORVENDA_BENCH_INPUT_BENCH_FILES_H
#define ORVENDA_BENCH_INPUT_BENCH_FILES_H

#include <cstdint>
#include <string>

#include "core/input/input_layout.h"

namespace orvenda::bench {

// Writes `records` records of `layout` to `path` (text: values with six
// decimals in [-1, 1); a tab between I and Q in free format, a comma in CSV).
// Returns the file's size in bytes.
uint64_t writeBenchFile(const std::string& path, input::InputLayout layout, int64_t records);

}  // namespace orvenda::bench

#endif
