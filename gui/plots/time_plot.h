// The time view: I, Q and magnitude against sample index (time along the
// top), as min/max envelopes per pixel column or, zoomed in, as steps with
// points; the two marker signals as traces under the plot.
#ifndef ORVENDA_GUI_PLOTS_TIME_PLOT_H
#define ORVENDA_GUI_PLOTS_TIME_PLOT_H

#include <QRectF>

#include "gui/plots/plot_data.h"
#include "gui/plots/plot_frame.h"

class QPainter;

namespace orvenda::plots {

struct TimePlotLayout {
    PlotFrame frame;
    QRectF marker1Strip, marker2Strip;  // empty without marker signals
};

TimePlotLayout timePlotLayout(const QRectF& bounds, const TimeTraces& traces);
// Pixel columns of the plot area: how many envelope entries to ask for.
int timePlotColumns(const QRectF& bounds, bool withMarkers);

void paintTimePlot(QPainter& painter, const QRectF& bounds, const TimeTraces& traces);

}  // namespace orvenda::plots

#endif
