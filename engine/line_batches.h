// Text input in batches of whole lines, so that several threads can parse
// one batch at once. The lines are exactly the LineReader's: the bytes up to
// each line feed, a last line without one when it is not empty, and of a
// very long line only its first LineReader::kMaxKeptLength bytes.
#ifndef ORVENDA_ENGINE_LINE_BATCHES_H
#define ORVENDA_ENGINE_LINE_BATCHES_H

#include <cstddef>
#include <cstring>
#include <memory>
#include <string_view>
#include <vector>

#include "engine/byte_source.h"
#include "engine/line_reader.h"

namespace halvik {

class LineBatches {
public:
    static constexpr std::size_t kBufferSize = std::size_t{2} << 20;

    explicit LineBatches(ByteSource& source);

    // The next batch: one or more lines, each ending in a line feed except
    // perhaps the last. Valid until the next call; false at the end.
    bool next(std::string_view& batch);

private:
    bool refill();

    ByteSource& source_;
    std::unique_ptr<char[]> buffer_;
    std::size_t begin_ = 0;
    std::size_t end_ = 0;
    bool ended_ = false;
    bool skipping_ = false;  // the tail of a very long line is still unread
};

// Calls use(line) for every line of a batch, in order.
template <typename Use>
void forEachLine(std::string_view batch, Use&& use) {
    while (!batch.empty()) {
        const void* feed = std::memchr(batch.data(), '\n', batch.size());
        std::size_t length =
            feed ? static_cast<std::size_t>(static_cast<const char*>(feed) - batch.data()) : batch.size();
        use(batch.substr(0, std::min(length, LineReader::kMaxKeptLength)));
        batch.remove_prefix(feed ? length + 1 : length);
    }
}

// Cuts a batch into at most parts pieces of about equal size, each made of
// whole lines.
std::vector<std::string_view> splitAtLines(std::string_view batch, std::size_t parts);

}  // namespace halvik

#endif
