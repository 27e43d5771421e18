// Moving baseband samples to an intermediate frequency: a real IF on the I
// channel, or a complex frequency shift of I and Q.
#ifndef ORVENDA_ENGINE_IF_CONVERSION_H
#define ORVENDA_ENGINE_IF_CONVERSION_H

#include <cstddef>
#include <cstdint>

namespace halvik {

// The constant stands as the instrument's tools always used it: a little
// below 2*pi. A more precise value would change the codes.
inline constexpr double kTwoPi = 6.28318530717958;

// Phase step per sample: (ifFreq * kTwoPi) / fs, multiplication first.
double phaseStep(double ifFreq, double fs);

// Converts count samples in place; first is the waveform index of i[0]. The
// phase of sample k is k * step, computed afresh for every sample, so blocks
// and passes see the same carrier. ifMode 0: I' = cI + sQ, Q' = 0; otherwise
// I' = cI - sQ, Q' = cQ + sI.
void convertToIf(double* i, double* q, std::size_t count, int64_t first, double step, int32_t ifMode);

// The largest of floor and the magnitudes convertToIf would give these
// samples (I', and Q' for the complex shift); a NaN never wins. Exact, yet
// most samples are never shifted: |I'| and |Q'| cannot exceed the magnitude
// |I + jQ| (by more than a few roundings), so a sample whose magnitude stays
// below the running largest cannot change it. Only a signal of constant
// envelope has every sample shifted. The input arrays are left as they are.
double shiftedPeak(const double* i, const double* q, std::size_t count, int64_t first, double step, int32_t ifMode,
                   double floor);

}  // namespace halvik

#endif
