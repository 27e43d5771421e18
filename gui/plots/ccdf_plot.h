// The CCDF view: probability that the instantaneous power exceeds the
// average by a level, on a log probability axis from 1 to 1e-6, with the
// Gaussian-noise reference and the PAPR.
#ifndef ORVENDA_GUI_PLOTS_CCDF_PLOT_H
#define ORVENDA_GUI_PLOTS_CCDF_PLOT_H

#include <QRectF>

#include "gui/plots/plot_data.h"
#include "gui/plots/plot_frame.h"

class QPainter;

namespace orvenda::plots {

inline constexpr double kLowestProbability = 1e-6;

PlotFrame ccdfPlotFrame(const QRectF& bounds, const CcdfCurve& curve);
void paintCcdfPlot(QPainter& painter, const QRectF& bounds, const CcdfCurve& curve);

}  // namespace orvenda::plots

#endif
