#include "gui/plots/signal_figures.h"

#include <algorithm>

#include "core/analysis/sample_source.h"

namespace orvenda::plots {
namespace {

constexpr float kPerCode = 1.0F / static_cast<float>(analysis::kFullScale);

uint8_t markerLevels(const analysis::EnvelopeColumn& column, uint8_t marker) {
    uint8_t levels = 0;
    if (column.markersLow & marker) levels |= kMarkerLowSeen;
    if (column.markersHigh & marker) levels |= kMarkerHighSeen;
    return levels;
}

}  // namespace

TimeTraces timeTraces(const analysis::Envelope& envelope, double sampleRateHz, bool withMarkers) {
    TimeTraces traces;
    traces.first = static_cast<int64_t>(envelope.begin);
    traces.count = static_cast<int64_t>(envelope.end - envelope.begin);
    traces.sampleRateHz = sampleRateHz;
    traces.fullScale = 1.0;
    for (const analysis::EnvelopeColumn& column : envelope.columns) {
        traces.i.push_back({column.minI * kPerCode, column.maxI * kPerCode});
        traces.q.push_back({column.minQ * kPerCode, column.maxQ * kPerCode});
        traces.magnitude.push_back({column.minMagnitude * kPerCode, column.maxMagnitude * kPerCode});
        if (withMarkers) {
            traces.marker1.push_back(markerLevels(column, analysis::kMarker1));
            traces.marker2.push_back(markerLevels(column, analysis::kMarker2));
        }
    }
    return traces;
}

SpectrumCurve spectrumCurve(const analysis::Spectrum& spectrum, bool frequencyKnown) {
    SpectrumCurve curve;
    curve.fftSize = static_cast<int>(spectrum.fftSize);
    curve.frequencyKnown = frequencyKnown;
    curve.frequencyHz = spectrum.frequencyHz;
    curve.powerDb = spectrum.powerDbfs;
    if (!frequencyKnown) {
        // Cycles per sample become bin numbers, which read better on an axis.
        for (double& f : curve.frequencyHz) f *= static_cast<double>(spectrum.fftSize);
    }
    return curve;
}

DensityGrid densityGrid(const analysis::Constellation& constellation) {
    DensityGrid grid;
    grid.size = static_cast<int>(constellation.bins);
    grid.extent = 8192.0 / analysis::kFullScale;  // the bins span codes -8192 .. 8191
    grid.counts = constellation.counts;
    return grid;
}

CcdfCurve ccdfCurve(const analysis::Ccdf& ccdf) {
    CcdfCurve curve;
    curve.levelDb = ccdf.relativePowerDb;
    curve.probability = ccdf.probability;
    curve.paprDb = ccdf.paprDb;
    // The reference as far as its own probability reaches the floor (about 11.4 dB).
    for (double level = 0.0; level <= 16.0; level += analysis::kCcdfStepDb) {
        curve.referenceLevelDb.push_back(level);
        curve.referenceProbability.push_back(analysis::gaussianCcdf(level));
    }
    return curve;
}

}  // namespace orvenda::plots
