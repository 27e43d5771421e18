// What the C library's sin and cos allow on one thread for the phases an IF
// conversion of N samples computes: the ceiling the IF cases are held to.
#ifndef ORVENDA_BENCH_ENGINE_SINCOS_RATE_H
#define ORVENDA_BENCH_ENGINE_SINCOS_RATE_H

#include <cstdint>

namespace orvenda::bench {

// sin-cos pairs per second for t = k × d, k = 0..samples-1 (best of three).
double sinCosPairsPerSecond(std::int64_t samples, double phaseStep);

}  // namespace orvenda::bench

#endif
