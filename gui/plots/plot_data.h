// What the renderers draw: plain figures of a signal, filled from the
// analysis results by the window and by orvenda-cli alike.
#ifndef ORVENDA_GUI_PLOTS_PLOT_DATA_H
#define ORVENDA_GUI_PLOTS_PLOT_DATA_H

#include <cstdint>
#include <vector>

namespace orvenda::plots {

struct MinMax {
    float min = 0.0F;
    float max = 0.0F;
};

// Marker levels seen within one column: bit 0 low, bit 1 high.
inline constexpr uint8_t kMarkerLowSeen = 1;
inline constexpr uint8_t kMarkerHighSeen = 2;

// The visible stretch of samples as one envelope entry per pixel column, or
// one entry per sample once there are no more samples than columns; entry k
// covers columnSamples({first, count}, entries, k) (sample_columns.h).
struct TimeTraces {
    int64_t first = 0;
    int64_t count = 0;
    double sampleRateHz = 0.0;  // 0: no time axis
    double fullScale = 1.0;     // the value axis spans -fullScale..fullScale
    std::vector<MinMax> i, q, magnitude;
    std::vector<uint8_t> marker1, marker2;  // empty: the file has no marker signals
    bool perSample() const { return static_cast<int64_t>(i.size()) == count; }
};

// Power spectral density in dB relative to full scale over frequency.
struct SpectrumCurve {
    std::vector<double> frequencyHz;  // ascending; bin numbers when the rate is unknown
    std::vector<double> powerDb;
    bool frequencyKnown = true;
    int fftSize = 0;
};

// Counts of I/Q pairs in a size x size grid over -extent..extent on both
// axes; row 0 holds the lowest Q, column 0 the lowest I.
struct DensityGrid {
    int size = 0;
    double extent = 1.0;
    std::vector<uint64_t> counts;
};

// Probability that the instantaneous power exceeds the average by a level.
struct CcdfCurve {
    std::vector<double> levelDb, probability;
    std::vector<double> referenceLevelDb, referenceProbability;  // Gaussian noise
    double paprDb = 0.0;
};

}  // namespace orvenda::plots

#endif
