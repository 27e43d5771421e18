#include "gui/plots/ccdf_plot.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

#include "gui/plots/plot_style.h"

namespace orvenda::plots {
namespace {

AxisSpec levelAxis(const CcdfCurve& curve) {
    double top = 12.0;
    for (double level : curve.levelDb)
        if (std::isfinite(level)) top = std::max(top, level + 1.0);
    return {0.0, std::ceil(top), AxisScale::Linear, "", QStringLiteral("Power above average (dB)")};
}

AxisSpec probabilityAxis() { return {kLowestProbability, 1.0, AxisScale::Log10, "", QStringLiteral("Probability")}; }

void paintCurve(QPainter& painter, const PlotFrame& frame, const std::vector<double>& levels,
                const std::vector<double>& probabilities, const QPen& pen) {
    QPainterPath path;
    bool started = false;
    for (size_t k = 0; k < std::min(levels.size(), probabilities.size()); ++k) {
        if (!std::isfinite(levels[k]) || !(probabilities[k] >= 0.0)) continue;
        // Below the axis (a zero probability above the peak): the curve drops
        // to the bottom edge there and ends.
        const bool below = probabilities[k] < kLowestProbability;
        const QPointF point(frame.x.toPixel(levels[k]),
                            frame.y.toPixel(std::max(probabilities[k], kLowestProbability)));
        if (!started)
            path.moveTo(point);
        else
            path.lineTo(point);
        started = true;
        if (below) break;
    }
    painter.setPen(pen);
    painter.drawPath(path);
}

}  // namespace

PlotFrame ccdfPlotFrame(const QRectF& bounds, const CcdfCurve& curve) {
    return layoutPlot(bounds, levelAxis(curve), probabilityAxis());
}

void paintCcdfPlot(QPainter& painter, const QRectF& bounds, const CcdfCurve& curve) {
    painter.fillRect(bounds, kPageBackground);
    const AxisSpec x = levelAxis(curve), y = probabilityAxis();
    const PlotFrame frame = layoutPlot(bounds, x, y);
    drawFrame(painter, frame, x, y,
              QStringLiteral("CCDF of instantaneous power, PAPR %1 dB").arg(curve.paprDb, 0, 'f', 2));
    painter.save();
    painter.setClipRect(frame.area);
    painter.setRenderHint(QPainter::Antialiasing);
    QPen reference(kReferenceColor, 1.2, Qt::DashLine);
    paintCurve(painter, frame, curve.referenceLevelDb, curve.referenceProbability, reference);
    paintCurve(painter, frame, curve.levelDb, curve.probability, QPen(kIColor, 1.6));
    painter.restore();
    painter.setFont(plotFont());
    const double right = frame.area.right() - 150;
    painter.fillRect(QRectF(right, frame.area.top() + 8, 14, 3), kIColor);
    painter.setPen(kAxisColor);
    painter.drawText(QPointF(right + 18, frame.area.top() + 14), QStringLiteral("Signal"));
    painter.setPen(QPen(kReferenceColor, 1.2, Qt::DashLine));
    painter.drawLine(QPointF(right, frame.area.top() + 28), QPointF(right + 14, frame.area.top() + 28));
    painter.setPen(kAxisColor);
    painter.drawText(QPointF(right + 18, frame.area.top() + 32), QStringLiteral("Gaussian noise"));
}

}  // namespace orvenda::plots
