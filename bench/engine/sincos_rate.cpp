#include "bench/engine/sincos_rate.h"

#include <chrono>
#include <cmath>

namespace orvenda::bench {

double sinCosPairsPerSecond(std::int64_t samples, double phaseStep) {
    double best = 0.0;
    for (int round = 0; round < 3; ++round) {
        double sum = 0.0;
        const auto start = std::chrono::steady_clock::now();
        for (std::int64_t k = 0; k < samples; ++k) {
            const double t = static_cast<double>(k) * phaseStep;
            sum += std::cos(t) + std::sin(t);
        }
        const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        // Keeps the loop from being optimised away.
        volatile double sink = sum;
        (void)sink;
        if (seconds > 0.0) best = std::max(best, static_cast<double>(samples) / seconds);
    }
    return best;
}

}  // namespace orvenda::bench
