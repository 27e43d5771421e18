#include "engine/marker_track.h"

#include <algorithm>

namespace halvik {
namespace {

const MarkerPoint kNoChanges[kLastMarkerEntry + 1] = {};

}  // namespace

MarkerTrack::MarkerTrack(const MarkerPoint* points) : points_(points != nullptr ? points : kNoChanges) {}

void MarkerTrack::reset() {
    cursor_ = 0;
    level_ = 0;
}

void MarkerTrack::fill(int32_t* levels, std::size_t count, int64_t first) {
    std::size_t k = 0;
    while (k < count) {
        // The next change can only happen where the entry under the cursor points.
        int64_t change = static_cast<int64_t>(points_[cursor_].Pos) - first;
        std::size_t runEnd = (change >= static_cast<int64_t>(k) && change < static_cast<int64_t>(count))
                                 ? static_cast<std::size_t>(change)
                                 : count;
        std::fill(levels + k, levels + runEnd, level_);
        k = runEnd;
        if (k == count) break;
        level_ = points_[cursor_].Value;
        if (cursor_ < kLastMarkerEntry) ++cursor_;
        levels[k++] = level_;
    }
}

}  // namespace halvik
