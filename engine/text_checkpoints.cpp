#include "engine/text_checkpoints.h"

#include <algorithm>
#include <utility>

namespace halvik {
namespace {

bool before(const TextCheckpoints::Point& point, std::int64_t sample) { return point.sample < sample; }

}  // namespace

std::optional<TextCheckpoints::Point> TextCheckpoints::latestAtOrBefore(std::int64_t sample) const {
    std::lock_guard lock(mutex_);
    auto after = std::upper_bound(points_.begin(), points_.end(), sample,
                                  [](std::int64_t s, const Point& point) { return s < point.sample; });
    if (after == points_.begin()) return std::nullopt;
    return *std::prev(after);
}

void TextCheckpoints::note(std::int64_t sample, std::vector<std::uint64_t> offsets) {
    if (sample <= 0 || sample % kInterval != 0) return;
    std::lock_guard lock(mutex_);
    auto at = std::lower_bound(points_.begin(), points_.end(), sample, before);
    if (at != points_.end() && at->sample == sample) return;
    points_.insert(at, Point{sample, std::move(offsets)});
}

}  // namespace halvik
