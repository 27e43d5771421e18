// What the read-out line says for a pointer position over a plot: the
// sample index, time, I, Q and magnitude in the time view, frequency and
// level in the spectrum, I and Q in the constellation, level and probability
// in the CCDF. Empty outside the plot area. Numbers use "." always.
#ifndef ORVENDA_GUI_PLOTS_CURSOR_READOUT_H
#define ORVENDA_GUI_PLOTS_CURSOR_READOUT_H

#include <QPointF>
#include <QRectF>
#include <QString>

#include "gui/plots/plot_data.h"

namespace orvenda::plots {

QString timeReadout(const TimeTraces& traces, const QRectF& bounds, QPointF position);
QString spectrumReadout(const SpectrumCurve& curve, const QRectF& bounds, QPointF position);
QString constellationReadout(const DensityGrid& grid, const QRectF& bounds, QPointF position);
QString ccdfReadout(const CcdfCurve& curve, const QRectF& bounds, QPointF position);

// "6.17 µs", "1.25 MHz": three significant digits and an SI prefix.
QString siText(double value, const QString& unit);

}  // namespace orvenda::plots

#endif
