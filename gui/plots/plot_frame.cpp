#include "gui/plots/plot_frame.h"

#include <QFont>
#include <QFontMetricsF>
#include <QPainter>

#include "gui/plots/axis_ticks.h"
#include "gui/plots/plot_style.h"

namespace orvenda::plots {
namespace {

struct Tick {
    double value;
    QString label;
};

// `spacing`: the fewest pixels between two ticks, so labels stay apart.
std::vector<Tick> ticksOf(const AxisSpec& axis, double pixels, double spacing) {
    std::vector<Tick> ticks;
    if (axis.scale == AxisScale::Log10) {
        for (double value : decadeTicks(axis.lo, axis.hi))
            ticks.push_back({value, QString::fromStdString(decadeLabel(value))});
        return ticks;
    }
    const LinearTicks linear = linearTicks(axis.lo, axis.hi, std::max(2, static_cast<int>(pixels / spacing)));
    for (double value : linear.values)
        ticks.push_back({value, QString::fromStdString(tickLabel(value, linear.step, axis.unit))});
    return ticks;
}

}  // namespace

PlotFrame layoutPlot(const QRectF& bounds, const AxisSpec& x, const AxisSpec& y) {
    const QRectF area = bounds.adjusted(kLeftMargin, kTopMargin, -kRightMargin, -kBottomMargin);
    PlotFrame frame;
    frame.area = area.isValid() ? area : QRectF(bounds.center(), QSizeF(1, 1));
    frame.x = AxisMap(x.lo, x.hi, frame.area.left(), frame.area.right(), x.scale);
    frame.y = AxisMap(y.lo, y.hi, frame.area.bottom(), frame.area.top(), y.scale);
    return frame;
}

void drawFrame(QPainter& painter, const PlotFrame& frame, const AxisSpec& x, const AxisSpec& y, const QString& title,
               const AxisSpec* topAxis) {
    painter.save();
    painter.setFont(plotFont());
    const QFontMetricsF metrics(painter.font());
    const QRectF& area = frame.area;
    painter.fillRect(area, kPlotBackground);

    for (const Tick& tick : ticksOf(x, area.width(), 90.0)) {
        const double px = frame.x.toPixel(tick.value);
        painter.setPen(QPen(kGridColor, 0));
        painter.drawLine(QPointF(px, area.top()), QPointF(px, area.bottom()));
        painter.setPen(kAxisColor);
        painter.drawLine(QPointF(px, area.bottom()), QPointF(px, area.bottom() + 4));
        painter.drawText(QRectF(px - 60, area.bottom() + 5, 120, metrics.height()), Qt::AlignHCenter | Qt::AlignTop,
                         tick.label);
    }
    for (const Tick& tick : ticksOf(y, area.height(), 40.0)) {
        const double py = frame.y.toPixel(tick.value);
        painter.setPen(QPen(kGridColor, 0));
        painter.drawLine(QPointF(area.left(), py), QPointF(area.right(), py));
        painter.setPen(kAxisColor);
        painter.drawLine(QPointF(area.left() - 4, py), QPointF(area.left(), py));
        painter.drawText(
            QRectF(area.left() - kLeftMargin, py - metrics.height() / 2, kLeftMargin - 7, metrics.height()),
            Qt::AlignRight | Qt::AlignVCenter, tick.label);
    }
    if (topAxis) {
        const AxisMap top(topAxis->lo, topAxis->hi, area.left(), area.right(), topAxis->scale);
        painter.setPen(kAxisColor);
        for (const Tick& tick : ticksOf(*topAxis, area.width(), 90.0)) {
            const double px = top.toPixel(tick.value);
            painter.drawLine(QPointF(px, area.top() - 4), QPointF(px, area.top()));
            painter.drawText(QRectF(px - 60, area.top() - 4 - metrics.height(), 120, metrics.height()),
                             Qt::AlignHCenter | Qt::AlignBottom, tick.label);
        }
    }

    painter.setPen(kAxisColor);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(area);
    painter.drawText(QRectF(area.left(), area.bottom() + 5 + metrics.height(), area.width(), metrics.height()),
                     Qt::AlignHCenter | Qt::AlignTop, x.title);
    // The value axis title reads bottom to top along the left edge.
    painter.save();
    painter.translate(area.left() - kLeftMargin + 2, area.center().y());
    painter.rotate(-90);
    painter.drawText(QRectF(-area.height() / 2, 0, area.height(), metrics.height()), Qt::AlignHCenter | Qt::AlignTop,
                     y.title);
    painter.restore();
    QFont bold = painter.font();
    bold.setBold(true);
    painter.setFont(bold);
    const double titleTop = area.top() - kTopMargin + 2;
    painter.drawText(QRectF(area.left(), titleTop, area.width(), metrics.height()), Qt::AlignLeft | Qt::AlignTop,
                     title);
    if (topAxis) {
        painter.setFont(plotFont());
        painter.drawText(QRectF(area.left(), titleTop, area.width(), metrics.height()), Qt::AlignRight | Qt::AlignTop,
                         topAxis->title);
    }
    painter.restore();
}

}  // namespace orvenda::plots
