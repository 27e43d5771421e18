// The constellation view: the density of I/Q pairs as a heat map with a
// logarithmic colour scale, square, with I across and Q up.
#ifndef ORVENDA_GUI_PLOTS_CONSTELLATION_PLOT_H
#define ORVENDA_GUI_PLOTS_CONSTELLATION_PLOT_H

#include <QImage>
#include <QRectF>

#include "gui/plots/plot_data.h"
#include "gui/plots/plot_frame.h"

class QPainter;

namespace orvenda::plots {

// The square plot area centred in the bounds.
PlotFrame constellationPlotFrame(const QRectF& bounds, const DensityGrid& grid);
// One pixel per cell, row 0 (lowest Q) at the bottom; empty cells white,
// the fullest darkest.
QImage densityImage(const DensityGrid& grid);
void paintConstellationPlot(QPainter& painter, const QRectF& bounds, const DensityGrid& grid);

}  // namespace orvenda::plots

#endif
