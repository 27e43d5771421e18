#include "gui/plots/constellation_plot.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

#include "gui/plots/plot_style.h"

namespace orvenda::plots {
namespace {

AxisSpec componentAxis(const DensityGrid& grid, const QString& title) {
    return {-grid.extent, grid.extent, AxisScale::Linear, "", title};
}

// White through blue to dark red as the count grows, on a log scale so a
// few rare points still show beside a dense core.
QRgb heatColour(double fraction) {
    const QColor stops[] = {QColor(220, 232, 250), QColor(60, 120, 210), QColor(40, 170, 90), QColor(240, 200, 40),
                            QColor(180, 20, 20)};
    const double position = std::clamp(fraction, 0.0, 1.0) * (std::size(stops) - 1);
    const int index = std::min(static_cast<int>(position), static_cast<int>(std::size(stops)) - 2);
    const double t = position - index;
    const QColor& a = stops[index];
    const QColor& b = stops[index + 1];
    return qRgb(static_cast<int>(a.red() + t * (b.red() - a.red())),
                static_cast<int>(a.green() + t * (b.green() - a.green())),
                static_cast<int>(a.blue() + t * (b.blue() - a.blue())));
}

}  // namespace

PlotFrame constellationPlotFrame(const QRectF& bounds, const DensityGrid& grid) {
    const double side = std::max(
        10.0, std::min(bounds.width() - kLeftMargin - kRightMargin, bounds.height() - kTopMargin - kBottomMargin));
    const double width = side + kLeftMargin + kRightMargin, height = side + kTopMargin + kBottomMargin;
    const QRectF square(bounds.center().x() - width / 2, bounds.center().y() - height / 2, width, height);
    return layoutPlot(square, componentAxis(grid, QStringLiteral("I")), componentAxis(grid, QStringLiteral("Q")));
}

QImage densityImage(const DensityGrid& grid) {
    if (grid.size <= 0 || grid.counts.size() != static_cast<size_t>(grid.size) * grid.size) return {};
    QImage image(grid.size, grid.size, QImage::Format_RGB32);
    image.fill(kPlotBackground);
    const uint64_t fullest = *std::max_element(grid.counts.begin(), grid.counts.end());
    const double logFullest = std::log1p(static_cast<double>(fullest));
    for (int row = 0; row < grid.size; ++row) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(grid.size - 1 - row));
        for (int column = 0; column < grid.size; ++column) {
            const uint64_t count = grid.counts[static_cast<size_t>(row) * grid.size + column];
            if (count > 0) line[column] = heatColour(std::log1p(static_cast<double>(count)) / logFullest);
        }
    }
    return image;
}

void paintConstellationPlot(QPainter& painter, const QRectF& bounds, const DensityGrid& grid) {
    painter.fillRect(bounds, kPageBackground);
    const PlotFrame frame = constellationPlotFrame(bounds, grid);
    drawFrame(painter, frame, componentAxis(grid, QStringLiteral("I")), componentAxis(grid, QStringLiteral("Q")),
              QStringLiteral("Constellation (density, log colour scale)"));
    const QImage image = densityImage(grid);
    if (!image.isNull()) {
        painter.save();
        painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
        painter.drawImage(frame.area, image);
        painter.restore();
        painter.setPen(kAxisColor);
        painter.drawRect(frame.area);
    }
}

}  // namespace orvenda::plots
