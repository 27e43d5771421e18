#include "gui/views/plot_canvas.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <cmath>

#include "gui/plots/plot_style.h"

namespace orvenda::views {

PlotCanvas::PlotCanvas(QWidget* parent) : QWidget(parent) {
    setMouseTracking(true);
    setMinimumSize(360, 240);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PlotCanvas::setPaintFunction(plots::PaintFunction paint) {
    paint_ = std::move(paint);
    update();
}

void PlotCanvas::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), plots::kPageBackground);
    if (paint_) paint_(painter, QRectF(rect()));
}

void PlotCanvas::mouseMoveEvent(QMouseEvent* event) {
    const QPointF position = event->position();
    if (dragX_) {
        emit panRequested(*dragX_ - position.x());
        dragX_ = position.x();
    }
    emit pointerMoved(position);
}

void PlotCanvas::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) dragX_ = event->position().x();
}

void PlotCanvas::mouseReleaseEvent(QMouseEvent*) { dragX_.reset(); }

void PlotCanvas::leaveEvent(QEvent*) { emit pointerLeft(); }

void PlotCanvas::wheelEvent(QWheelEvent* event) {
    const double steps = event->angleDelta().y() / 120.0;
    if (steps != 0.0) emit zoomRequested(std::pow(0.8, steps), event->position());
    event->accept();
}

void PlotCanvas::resizeEvent(QResizeEvent*) { emit resized(); }

}  // namespace orvenda::views
