#include "gui/plots/time_plot.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>

#include "gui/plots/plot_style.h"
#include "gui/plots/sample_columns.h"

namespace orvenda::plots {
namespace {

constexpr double kStripHeight = 20.0;
constexpr double kStripGap = 6.0;
constexpr double kStripsHeight = 2 * (kStripHeight + kStripGap) + 16.0;  // two strips, the index labels between

AxisSpec indexAxis(const TimeTraces& t) {
    return {static_cast<double>(t.first), static_cast<double>(t.first + std::max<int64_t>(t.count, 1)),
            AxisScale::Linear, "", QStringLiteral("Sample index")};
}

AxisSpec valueAxis(const TimeTraces& t) {
    const double span = t.fullScale > 0 ? t.fullScale * 1.05 : 1.05;
    return {-span, span, AxisScale::Linear, "", QStringLiteral("Value (full scale = %1)").arg(t.fullScale)};
}

// One trace: a vertical stroke per column from min to max, widened to meet
// the previous column so the envelope stays connected and no spike is lost.
void paintEnvelope(QPainter& painter, const PlotFrame& frame, const TimeTraces& t, const std::vector<MinMax>& entries,
                   const QColor& colour) {
    if (entries.empty()) return;
    painter.setPen(QPen(colour, 0));
    const SampleRange visible{t.first, t.count};
    const int n = static_cast<int>(entries.size());
    if (t.perSample()) {
        // Zoomed to single samples: a held step per sample, a dot at its start.
        QPainterPath path;
        const bool dots = frame.area.width() / n >= 4.0;
        for (int k = 0; k < n; ++k) {
            const double x0 = frame.x.toPixel(static_cast<double>(t.first + k));
            const double x1 = frame.x.toPixel(static_cast<double>(t.first + k + 1));
            const double y = frame.y.toClampedPixel(entries[k].max);
            if (k == 0)
                path.moveTo(x0, y);
            else
                path.lineTo(x0, y);
            path.lineTo(x1, y);
            if (dots) painter.fillRect(QRectF(x0 - 1.5, y - 1.5, 3, 3), colour);
        }
        painter.drawPath(path);
        return;
    }
    // One batch of lines per trace: a draw call per column costs more than the pixels.
    QVector<QLineF> strokes;
    strokes.reserve(n);
    double previousMin = entries[0].min, previousMax = entries[0].max;
    for (int k = 0; k < n; ++k) {
        const SampleRange span = columnSamples(visible, n, k);
        const double x = frame.x.toPixel(static_cast<double>(span.first) + static_cast<double>(span.count) / 2.0);
        const double lo = std::min<double>(entries[k].min, previousMax);
        const double hi = std::max<double>(entries[k].max, previousMin);
        strokes.append(QLineF(x, frame.y.toClampedPixel(lo), x, frame.y.toClampedPixel(hi) - 0.01));
        previousMin = entries[k].min;
        previousMax = entries[k].max;
    }
    painter.drawLines(strokes);
}

void paintMarkerStrip(QPainter& painter, const PlotFrame& frame, const QRectF& strip, const TimeTraces& t,
                      const std::vector<uint8_t>& levels, const QColor& colour, const QString& name) {
    painter.fillRect(strip, kPlotBackground);
    painter.setPen(kAxisColor);
    painter.drawText(QRectF(strip.left() - kLeftMargin, strip.top(), kLeftMargin - 7, strip.height()),
                     Qt::AlignRight | Qt::AlignVCenter, name);
    const SampleRange visible{t.first, t.count};
    const int n = static_cast<int>(levels.size());
    const double high = strip.top() + 3, low = strip.bottom() - 3;
    QPainterPath path;
    for (int k = 0; k < n; ++k) {
        const SampleRange span = t.perSample() ? SampleRange{t.first + k, 1} : columnSamples(visible, n, k);
        const double x0 = frame.x.toPixel(static_cast<double>(span.first));
        const double x1 = frame.x.toPixel(static_cast<double>(span.end()));
        // A column with both levels shows an edge inside it: a full stroke.
        const double y0 = (levels[k] & kMarkerHighSeen) ? high : low;
        const double y1 = (levels[k] & kMarkerLowSeen) ? low : high;
        if (k == 0)
            path.moveTo(x0, y0);
        else
            path.lineTo(x0, y0);
        path.lineTo(x0, y1);
        path.lineTo(x1, y1);
    }
    painter.setPen(QPen(colour, 0));  // cosmetic: a wide pen would go through the stroker
    painter.drawPath(path);
    painter.setPen(kAxisColor);
    painter.drawRect(strip);
}

void paintLegend(QPainter& painter, const QRectF& area) {
    const std::pair<QColor, QString> items[] = {
        {kIColor, QStringLiteral("I")}, {kQColor, QStringLiteral("Q")}, {kMagnitudeColor, QStringLiteral("|I+jQ|")}};
    double width = 16;
    for (const auto& item : items) width += 30 + painter.fontMetrics().horizontalAdvance(item.second);
    painter.fillRect(QRectF(area.left() + 4, area.top() + 3, width - 12, 16), QColor(255, 255, 255, 220));
    double x = area.left() + 8;
    for (const auto& [colour, text] : items) {
        painter.fillRect(QRectF(x, area.top() + 8, 14, 3), colour);
        painter.setPen(kAxisColor);
        painter.drawText(QPointF(x + 18, area.top() + 14), text);
        x += 30 + painter.fontMetrics().horizontalAdvance(text);
    }
}

}  // namespace

TimePlotLayout timePlotLayout(const QRectF& bounds, const TimeTraces& traces) {
    const bool withMarkers = !traces.marker1.empty() || !traces.marker2.empty();
    TimePlotLayout layout;
    const QRectF plotBounds = withMarkers ? bounds.adjusted(0, 0, 0, -kStripsHeight) : bounds;
    layout.frame = layoutPlot(plotBounds, indexAxis(traces), valueAxis(traces));
    if (withMarkers) {
        const QRectF& area = layout.frame.area;
        const double top = area.bottom() + kBottomMargin;
        layout.marker1Strip = QRectF(area.left(), top, area.width(), kStripHeight);
        layout.marker2Strip = QRectF(area.left(), top + kStripHeight + kStripGap, area.width(), kStripHeight);
    }
    return layout;
}

int timePlotColumns(const QRectF& bounds, bool withMarkers) {
    TimeTraces probe;
    if (withMarkers) probe.marker1 = {0};
    return std::max(1, static_cast<int>(timePlotLayout(bounds, probe).frame.area.width()));
}

void paintTimePlot(QPainter& painter, const QRectF& bounds, const TimeTraces& traces) {
    painter.fillRect(bounds, kPageBackground);
    const TimePlotLayout layout = timePlotLayout(bounds, traces);
    AxisSpec time;
    const bool withTime = traces.sampleRateHz > 0.0;
    if (withTime) {
        time = {static_cast<double>(traces.first) / traces.sampleRateHz,
                static_cast<double>(traces.first + std::max<int64_t>(traces.count, 1)) / traces.sampleRateHz,
                AxisScale::Linear, "s", QStringLiteral("Time")};
    }
    drawFrame(painter, layout.frame, indexAxis(traces), valueAxis(traces), QStringLiteral("I, Q and magnitude"),
              withTime ? &time : nullptr);
    painter.save();
    painter.setClipRect(layout.frame.area);
    paintEnvelope(painter, layout.frame, traces, traces.magnitude, kMagnitudeColor);
    paintEnvelope(painter, layout.frame, traces, traces.i, kIColor);
    paintEnvelope(painter, layout.frame, traces, traces.q, kQColor);
    painter.restore();
    painter.setFont(plotFont());
    paintLegend(painter, layout.frame.area);
    if (!layout.marker1Strip.isEmpty()) {
        paintMarkerStrip(painter, layout.frame, layout.marker1Strip, traces, traces.marker1, kMarker1Color,
                         QStringLiteral("Marker 1"));
        paintMarkerStrip(painter, layout.frame, layout.marker2Strip, traces, traces.marker2, kMarker2Color,
                         QStringLiteral("Marker 2"));
    }
}

}  // namespace orvenda::plots
