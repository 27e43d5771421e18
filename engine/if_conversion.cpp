#include "engine/if_conversion.h"

#include <algorithm>
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

namespace {

// |c*I + s*Q| is at most |I + jQ| * sqrt(c^2 + s^2); the C library's sin and
// cos and the few roundings of the shift and of the squared magnitude stay
// within a few units of 2^-53 of that, far inside this margin.
constexpr double kMargin = 1.0 + 1e-12;
// Outside this range a squared magnitude loses its precision; such samples
// are shifted, as are NaNs (whose shifted values never win).
constexpr double kSmallestSquare = 1e-280;
constexpr double kLargestSquare = 1e280;
// Samples are first checked a group at a time, in a loop the compiler
// vectorises; only a group that may hold a winner is looked at sample by sample.
constexpr std::size_t kGroup = 64;

// The squared magnitude up to which a sample cannot pass peak.
double skipLimit(double peak) {
    const double limit = peak / kMargin;
    return limit >= 1e140 ? kLargestSquare : limit * limit;
}

bool cannotWin(double square, double limit) { return square > kSmallestSquare && square <= limit; }

}  // namespace

double shiftedPeak(const double* i, const double* q, std::size_t count, int64_t first, double step, int32_t ifMode,
                   double floor) {
    double peak = floor;
    double limit = skipLimit(peak);
    for (std::size_t start = 0; start < count; start += kGroup) {
        const std::size_t end = std::min(count, start + kGroup);
        double largest = 0.0;
        for (std::size_t k = start; k < end; ++k) {
            const double square = i[k] * i[k] + q[k] * q[k];
            largest = square > largest ? square : largest;  // a NaN is passed over
        }
        if (cannotWin(largest, limit)) continue;
        for (std::size_t k = start; k < end; ++k) {
            if (cannotWin(i[k] * i[k] + q[k] * q[k], limit)) continue;
            double shiftedI = i[k];
            double shiftedQ = q[k];
            convertToIf(&shiftedI, &shiftedQ, 1, first + static_cast<int64_t>(k), step, ifMode);
            peak = std::max(peak, std::fabs(shiftedI));
            if (ifMode != 0) peak = std::max(peak, std::fabs(shiftedQ));
            limit = skipLimit(peak);
        }
    }
    return peak;
}

}  // namespace halvik
