// Text input in batches of whole lines, so that lines can be handed on in
// bulk. The lines are exactly the LineReader's: the bytes up to
// each line feed, a last line without one when it is not empty, and of a
// very long line only its first LineReader::kMaxKeptLength bytes.
#ifndef ORVENDA_ENGINE_LINE_BATCHES_H
#define ORVENDA_ENGINE_LINE_BATCHES_H

#include <cstddef>
#include <cstring>
#include <memory>
#include <string_view>

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

}  // namespace halvik

#endif
