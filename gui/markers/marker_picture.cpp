#include "gui/markers/marker_picture.h"

#include <QPainter>
#include <QPolygon>

namespace orvenda::markers {

MarkerPicture::MarkerPicture(QWidget* parent) : QFrame(parent) {
    setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
    setMinimumSize(200, 60);
}

void MarkerPicture::drawMarker(const MarkerPoints& points, int32_t length) {
    // Painted on the next pass of the event loop; no events are processed
    // here, so no second command can start while the editor is being built.
    drawing_ = Drawing{points, length};
    update();
}

void MarkerPicture::clearPicture() {
    drawing_.reset();
    update();
}

std::vector<TracePoint> MarkerPicture::tracePoints() const {
    if (!drawing_) return {};
    // The drawing area is the inside of the frame, in pixels.
    const QRect area = contentsRect();
    const TraceFrame frame{2.0, -1.0, area.width(), area.height(), area.left(), area.top()};
    return markerTrace(drawing_->points, drawing_->length, frame);
}

void MarkerPicture::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    const std::vector<TracePoint> trace = tracePoints();
    if (trace.empty()) return;
    QPainter painter(this);
    painter.setPen(QPen(Qt::black, 0));
    if (trace.size() == 1) {
        painter.drawPoint(trace.front().x, trace.front().y);
        return;
    }
    QPolygon polyline;
    polyline.reserve(static_cast<int>(trace.size()));
    for (const TracePoint& p : trace) polyline << QPoint(p.x, p.y);
    painter.drawPolyline(polyline);
}

}  // namespace orvenda::markers
