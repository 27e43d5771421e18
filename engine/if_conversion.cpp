#include "engine/if_conversion.h"

#include <cmath>

namespace halvik {

double phaseStep(double ifFreq, double fs) { return (ifFreq * kTwoPi) / fs; }

void convertToIf(double* i, double* q, std::size_t count, int64_t first, double step, int32_t ifMode) {
    if (ifMode == 0) {
        for (std::size_t k = 0; k < count; ++k) {
            double t = static_cast<double>(first + static_cast<int64_t>(k)) * step;
            double c = std::cos(t);
            double s = std::sin(t);
            i[k] = (c * i[k]) + (s * q[k]);
            q[k] = 0.0;
        }
    } else {
        for (std::size_t k = 0; k < count; ++k) {
            double t = static_cast<double>(first + static_cast<int64_t>(k)) * step;
            double c = std::cos(t);
            double s = std::sin(t);
            double oldI = i[k];
            double oldQ = q[k];
            i[k] = (c * oldI) - (s * oldQ);
            q[k] = (c * oldQ) + (s * oldI);
        }
    }
}

}  // namespace halvik
