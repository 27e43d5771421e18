// PictMark1 / PictMark2: a picture that shows one marker's trace in black.
// It keeps its own copy of the list it was given, so later changes of the
// marker store do not show until the marker is drawn again.
#ifndef ORVENDA_GUI_MARKERS_MARKER_PICTURE_H
#define ORVENDA_GUI_MARKERS_MARKER_PICTURE_H

#include <QFrame>
#include <optional>
#include <vector>

#include "core/markers/marker_store.h"
#include "core/markers/marker_trace.h"

namespace orvenda::markers {

class MarkerPicture : public QFrame {
    Q_OBJECT
public:
    explicit MarkerPicture(QWidget* parent = nullptr);

    // Draws the list over `length` samples (MarkerLength), replacing what was
    // shown.
    void drawMarker(const MarkerPoints& points, int32_t length);
    void clearPicture();

    bool isBlank() const { return !drawing_.has_value(); }
    // The polyline as painted at the picture's present size (empty when blank).
    std::vector<TracePoint> tracePoints() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    struct Drawing {
        MarkerPoints points;
        int32_t length = 0;
    };
    std::optional<Drawing> drawing_;
};

}  // namespace orvenda::markers

#endif
