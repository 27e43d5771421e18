// The complementary cumulative distribution of instantaneous power relative
// to the average power, and the Gaussian-noise reference curve.
#ifndef ORVENDA_CORE_ANALYSIS_CCDF_H
#define ORVENDA_CORE_ANALYSIS_CCDF_H

#include <vector>

namespace orvenda::analysis {

// The lowest probability the curve is drawn to.
inline constexpr double kCcdfFloor = 1e-6;
// Spacing of the curve's points on the relative-power axis.
inline constexpr double kCcdfStepDb = 0.1;

struct Ccdf {
    // Points of the curve: relativePowerDb[k] = k * kCcdfStepDb from 0 dB,
    // probability[k] = share of samples with |x|^2 > mean |x|^2 * 10^(dB/10).
    // The points stop after the first probability below kCcdfFloor, or at the
    // peak (where the probability reaches 0). Power is resolved to 0.024 dB.
    std::vector<double> relativePowerDb;
    std::vector<double> probability;
    double paprDb = 0.0;       // 10*log10(max|x|^2 / mean|x|^2); 0 for an all-zero signal
    double crestFactor = 1.0;  // max|x| / rms|x| (linear); 1 for an all-zero signal
};

// The reference for complex Gaussian noise: P(power > mean * x) = e^-x with
// x = 10^(relativePowerDb / 10).
double gaussianCcdf(double relativePowerDb);

}  // namespace orvenda::analysis

#endif
