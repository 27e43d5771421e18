// Where the lines of text inputs stand at every kInterval-th sample, noted
// while reading forward, so that a reader can start again near any sample
// instead of at the start of the files (text has no fixed sample size). One
// set may be shared by readers on several threads.
#ifndef ORVENDA_ENGINE_TEXT_CHECKPOINTS_H
#define ORVENDA_ENGINE_TEXT_CHECKPOINTS_H

#include <cstddef>
#include <cstdint>
#include <mutex>
#include <optional>
#include <vector>

namespace halvik {

class TextCheckpoints {
public:
    // A multiple of the write block, so that readers pass every point exactly.
    static constexpr std::int64_t kInterval = std::int64_t{1} << 16;

    struct Point {
        std::int64_t sample = 0;
        std::vector<std::uint64_t> offsets;  // byte offset of the next line, one per input file
    };

    // The latest point at or before sample; nullopt when only the start is.
    std::optional<Point> latestAtOrBefore(std::int64_t sample) const;
    // Notes the point of sample (a multiple of kInterval) unless it is known.
    // A point may be missing (a reader inside a cut line cannot tell where
    // the next line starts); readers then start at the one before.
    void note(std::int64_t sample, std::vector<std::uint64_t> offsets);

private:
    mutable std::mutex mutex_;
    std::vector<Point> points_;  // rising sample
};

}  // namespace halvik

#endif
