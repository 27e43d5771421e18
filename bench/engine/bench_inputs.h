// Input files of the benchmark: N samples of one pseudo-random signal in
// every layout the engine reads, written once into a scratch folder.
#ifndef ORVENDA_BENCH_ENGINE_BENCH_INPUTS_H
#define ORVENDA_BENCH_ENGINE_BENCH_INPUTS_H

#include <cstdint>
#include <string>
#include <vector>

#include "bench/engine/bench_cases.h"

namespace orvenda::bench {

struct InputFiles {
    std::vector<std::string> paths;  // I/Q file, or the I file then the Q file
    std::uint64_t bytes = 0;         // all of them together
    double peak = 0.0;               // the PeakValue a caller would pass
};

// Writes the files of `layout` for `samples` samples into `folder`.
InputFiles prepareInputs(Layout layout, std::int64_t samples, const std::string& folder);

// Reads the files once, so the timed run finds them in the page cache.
void warmPageCache(const std::vector<std::string>& paths);

}  // namespace orvenda::bench

#endif
