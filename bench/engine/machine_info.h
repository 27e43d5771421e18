// A short description of the machine a benchmark ran on.
#ifndef ORVENDA_BENCH_ENGINE_MACHINE_INFO_H
#define ORVENDA_BENCH_ENGINE_MACHINE_INFO_H

#include <string>

namespace orvenda::bench {

// "2 cores (nproc), Intel(R) ..., 23.5 GiB RAM"
std::string machineDescription();

// The one-minute load average, to tell a quiet machine from a busy one.
std::string loadAverage();

}  // namespace orvenda::bench

#endif
