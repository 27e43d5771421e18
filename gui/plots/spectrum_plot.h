// The spectrum view: power spectral density in dBFS over frequency.
#ifndef ORVENDA_GUI_PLOTS_SPECTRUM_PLOT_H
#define ORVENDA_GUI_PLOTS_SPECTRUM_PLOT_H

#include <QRectF>

#include "gui/plots/plot_data.h"
#include "gui/plots/plot_frame.h"

class QPainter;

namespace orvenda::plots {

// The level axis runs from a floor of whole 10 dB below the lowest value
// (at most 140 dB under the top) to 10 dB above the peak, rounded to 10.
AxisSpec spectrumLevelAxis(const SpectrumCurve& curve);
PlotFrame spectrumPlotFrame(const QRectF& bounds, const SpectrumCurve& curve);
void paintSpectrumPlot(QPainter& painter, const QRectF& bounds, const SpectrumCurve& curve);

}  // namespace orvenda::plots

#endif
