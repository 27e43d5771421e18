// The level of one marker, sample by sample, from its list of change points.
// Only the entry under the cursor is compared: the list must rise strictly in
// Pos; an entry whose Pos has already passed stops all later changes, and the
// cursor never moves beyond entry kLastMarkerEntry.
#ifndef ORVENDA_ENGINE_MARKER_TRACK_H
#define ORVENDA_ENGINE_MARKER_TRACK_H

#include <cstddef>
#include <cstdint>

#include "common/halvik_api.h"

namespace halvik {

inline constexpr int32_t kLastMarkerEntry = HALVIK_MARKER_ENTRIES_WALKED - 1;

class MarkerTrack {
public:
    // A null list counts as a list without change points.
    explicit MarkerTrack(const MarkerPoint* points);

    void reset();
    // Fills levels[0..count) for the samples first .. first + count - 1, which
    // continue where the previous call stopped.
    void fill(int32_t* levels, std::size_t count, int64_t first);

private:
    const MarkerPoint* points_;
    int32_t cursor_ = 0;
    int32_t level_ = 0;
};

}  // namespace halvik

#endif
