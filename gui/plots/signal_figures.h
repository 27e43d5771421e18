// The analysis results as the figures the renderers draw, in units of full
// scale (code - 8192) / 8191.
#ifndef ORVENDA_GUI_PLOTS_SIGNAL_FIGURES_H
#define ORVENDA_GUI_PLOTS_SIGNAL_FIGURES_H

#include "core/analysis/ccdf.h"
#include "core/analysis/constellation.h"
#include "core/analysis/envelope.h"
#include "core/analysis/spectrum.h"
#include "gui/plots/plot_data.h"

namespace orvenda::plots {

// `withMarkers`: the source has marker signals (their strips are drawn).
TimeTraces timeTraces(const analysis::Envelope& envelope, double sampleRateHz, bool withMarkers);
SpectrumCurve spectrumCurve(const analysis::Spectrum& spectrum, bool frequencyKnown);
DensityGrid densityGrid(const analysis::Constellation& constellation);
// The measured curve and the Gaussian reference over the same levels.
CcdfCurve ccdfCurve(const analysis::Ccdf& ccdf);

}  // namespace orvenda::plots

#endif
