// A widget that shows one plot: it paints with the same function as the
// picture export, reports the pointer for the read-out, and turns the wheel
// and drags into zoom and pan requests.
#ifndef ORVENDA_GUI_VIEWS_PLOT_CANVAS_H
#define ORVENDA_GUI_VIEWS_PLOT_CANVAS_H

#include <QWidget>

#include "gui/plots/picture_export.h"

namespace orvenda::views {

class PlotCanvas : public QWidget {
    Q_OBJECT
public:
    explicit PlotCanvas(QWidget* parent = nullptr);

    void setPaintFunction(plots::PaintFunction paint);
    const plots::PaintFunction& paintFunction() const { return paint_; }

signals:
    void pointerMoved(QPointF position);
    void pointerLeft();
    // factor < 1 zooms in, around `position`.
    void zoomRequested(double factor, QPointF position);
    void panRequested(double pixels);
    void resized();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    plots::PaintFunction paint_;
    std::optional<double> dragX_;
};

}  // namespace orvenda::views

#endif
