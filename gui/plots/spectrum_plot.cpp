#include "gui/plots/spectrum_plot.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

#include "gui/plots/plot_style.h"

namespace orvenda::plots {
namespace {

AxisSpec frequencyAxis(const SpectrumCurve& curve) {
    AxisSpec axis;
    if (!curve.frequencyHz.empty()) {
        axis.lo = curve.frequencyHz.front();
        axis.hi = curve.frequencyHz.back();
    }
    if (curve.frequencyKnown) {
        axis.unit = "Hz";
        axis.title = QStringLiteral("Frequency");
    } else {
        axis.title = QStringLiteral("Frequency bin");
    }
    return axis;
}

}  // namespace

AxisSpec spectrumLevelAxis(const SpectrumCurve& curve) {
    double lo = 0.0, hi = 0.0;
    bool any = false;
    for (double value : curve.powerDb) {
        if (!std::isfinite(value)) continue;
        lo = any ? std::min(lo, value) : value;
        hi = any ? std::max(hi, value) : value;
        any = true;
    }
    if (!any) lo = -100.0, hi = 0.0;
    const double top = std::ceil((hi + 10.0) / 10.0) * 10.0;
    const double bottom = std::max(std::floor(lo / 10.0) * 10.0, top - 140.0);
    return {std::min(bottom, top - 20.0), top, AxisScale::Linear, "", QStringLiteral("PSD (dBFS per bin)")};
}

PlotFrame spectrumPlotFrame(const QRectF& bounds, const SpectrumCurve& curve) {
    return layoutPlot(bounds, frequencyAxis(curve), spectrumLevelAxis(curve));
}

void paintSpectrumPlot(QPainter& painter, const QRectF& bounds, const SpectrumCurve& curve) {
    painter.fillRect(bounds, kPageBackground);
    const AxisSpec x = frequencyAxis(curve), y = spectrumLevelAxis(curve);
    const PlotFrame frame = layoutPlot(bounds, x, y);
    const QString title = curve.fftSize > 0 ? QStringLiteral("Spectrum (Welch, Hann, %1 points)").arg(curve.fftSize)
                                            : QStringLiteral("Spectrum");
    drawFrame(painter, frame, x, y, title);
    painter.save();
    painter.setClipRect(frame.area);
    painter.setRenderHint(QPainter::Antialiasing);
    // Many bins per pixel: the envelope of the bins of each column, as the time view does.
    QPainterPath path;
    const size_t n = std::min(curve.frequencyHz.size(), curve.powerDb.size());
    for (size_t k = 0; k < n; ++k) {
        const double value = std::isfinite(curve.powerDb[k]) ? curve.powerDb[k] : y.lo;
        const QPointF point(frame.x.toPixel(curve.frequencyHz[k]), frame.y.toClampedPixel(value));
        if (k == 0)
            path.moveTo(point);
        else
            path.lineTo(point);
    }
    painter.setPen(QPen(kIColor, 1.0));
    painter.drawPath(path);
    painter.restore();
}

}  // namespace orvenda::plots
