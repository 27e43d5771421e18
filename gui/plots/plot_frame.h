// The frame of one plot: its axes, the plot area inside the margins, grid,
// ticks, labels and titles. Layout is a pure function of the bounds; the
// read-out of the cursor uses the same maps as the painting.
#ifndef ORVENDA_GUI_PLOTS_PLOT_FRAME_H
#define ORVENDA_GUI_PLOTS_PLOT_FRAME_H

#include <QRectF>
#include <QString>
#include <string>

#include "gui/plots/axis_map.h"

class QPainter;

namespace orvenda::plots {

struct AxisSpec {
    double lo = 0.0;
    double hi = 1.0;
    AxisScale scale = AxisScale::Linear;
    std::string unit;  // SI unit for the tick labels ("Hz", "s"), empty for none
    QString title;
};

struct PlotFrame {
    QRectF area;
    AxisMap x, y;
};

// Margins leave room for the tick labels (left, bottom) and the title (top).
PlotFrame layoutPlot(const QRectF& bounds, const AxisSpec& x, const AxisSpec& y);

// Background, grid, ticks, tick labels, axis titles and the plot title.
// `topAxis`, when given, labels the top edge (time over sample index).
void drawFrame(QPainter& painter, const PlotFrame& frame, const AxisSpec& x, const AxisSpec& y, const QString& title,
               const AxisSpec* topAxis = nullptr);

// Room for tick labels on the left of the plot area, in pixels.
inline constexpr double kLeftMargin = 70.0;
inline constexpr double kBottomMargin = 42.0;
inline constexpr double kTopMargin = 42.0;
inline constexpr double kRightMargin = 18.0;

}  // namespace orvenda::plots

#endif
