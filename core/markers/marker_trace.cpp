#include "core/markers/marker_trace.h"

#include <algorithm>
#include <cmath>

#include "core/settings/text_conversions.h"

namespace orvenda::markers {

std::vector<LevelChange> markerLevelChanges(std::span<const MarkerPoint> points, int32_t length) {
    std::vector<LevelChange> changes;
    const std::size_t walked = std::min<std::size_t>(points.size(), kMarkerEntriesWalked);
    int32_t reached = 0;  // the next sample the cursor's entry could match
    for (std::size_t k = 0; k < walked; ++k) {
        const int32_t pos = points[k].Pos;
        if (pos < reached || pos >= length) break;  // passed, or beyond the trace: no later entry applies
        changes.push_back({pos, points[k].Value});
        if (pos == INT32_MAX) break;
        reached = pos + 1;
    }
    return changes;
}

namespace {

class TraceBuilder {
public:
    TraceBuilder(int32_t length, const TraceFrame& frame)
        : frame_(frame),
          sx_(static_cast<double>(frame.width) / length),
          sy_(frame.top == frame.bottom ? 0.0 : (frame.height - 1) / (frame.top - frame.bottom)) {}

    int xAt(int64_t sample) const { return settings::roundedInteger(static_cast<double>(sample) * sx_ + frame_.x0); }

    int yAt(int32_t level) const {
        const int y = settings::roundedInteger((frame_.top - level) * sy_ + frame_.y0);
        return std::clamp(y, frame_.y0, frame_.y0 + frame_.height);
    }

    // Adds a point, dropping the middle one of three on one horizontal line.
    void add(TracePoint p) {
        const std::size_t n = points_.size();
        if (n >= 2 && points_[n - 1].y == p.y && points_[n - 2].y == p.y)
            points_[n - 1] = p;
        else
            points_.push_back(p);
    }

    std::vector<TracePoint> take() { return std::move(points_); }

private:
    TraceFrame frame_;
    double sx_;
    double sy_;
    std::vector<TracePoint> points_;
};

}  // namespace

std::vector<TracePoint> markerTrace(std::span<const MarkerPoint> points, int32_t length, const TraceFrame& frame) {
    if (length < 1) return {};
    TraceBuilder trace(length, frame);
    int32_t level = 0;
    int32_t sample = 0;  // last sample drawn
    const std::vector<LevelChange> changes = markerLevelChanges(points, length);
    auto change = changes.begin();
    if (change != changes.end() && change->sample == 0) level = (change++)->level;
    trace.add({frame.x0, trace.yAt(level)});
    for (; change != changes.end(); ++change) {
        if (change->sample - 1 > sample) trace.add({trace.xAt(change->sample - 1), trace.yAt(level)});
        level = change->level;
        sample = change->sample;
        trace.add({trace.xAt(sample), trace.yAt(level)});
    }
    if (length - 1 > sample) trace.add({trace.xAt(length - 1), trace.yAt(level)});
    return trace.take();
}

}  // namespace orvenda::markers
