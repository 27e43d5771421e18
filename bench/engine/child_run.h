// One timed conversion in a fresh child process, so that its peak resident
// memory is its own and not the generator's or an earlier run's.
#ifndef ORVENDA_BENCH_ENGINE_CHILD_RUN_H
#define ORVENDA_BENCH_ENGINE_CHILD_RUN_H

#include <cstdint>
#include <string>
#include <vector>

#include "bench/engine/bench_cases.h"

namespace orvenda::bench {

struct ChildRequest {
    const BenchCase* benchCase = nullptr;
    std::int64_t samples = 0;
    double peak = 0.0;
    std::vector<std::string> inputs;
    std::string output;
    // Today's engine as the reference: one thread, every IF sample shifted
    // in both passes, text read line by line (HALVIK_THREADS=1,
    // HALVIK_BENCH_REFERENCE=1).
    bool reference = false;
};

struct RunResult {
    bool ok = false;
    double seconds = 0.0;     // of the Halvik call alone
    double peakRssMiB = 0.0;  // of the whole child process
    std::string error;
    std::string digest;  // of the output without its DATE line
};

// Parent side: runs this program again as `--child ...` and reads its answer.
RunResult runInChild(const std::string& program, const ChildRequest& request);

// Child side: the arguments after "--child"; loads libHalvikLib.so from its folder,
// converts once and prints "ok <seconds> <peak KiB> <digest>". Returns the exit code.
int childMain(const std::vector<std::string>& arguments);

}  // namespace orvenda::bench

#endif
