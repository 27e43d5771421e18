// Splits a byte source into lines in constant memory. A line of any length is
// one line: its first kMaxKeptLength bytes are kept (more than any number
// needs), the rest up to the line feed is skipped without being stored.
#ifndef ORVENDA_ENGINE_LINE_READER_H
#define ORVENDA_ENGINE_LINE_READER_H

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>

#include "engine/byte_source.h"

namespace halvik {

class LineReader {
public:
    static constexpr std::size_t kBufferSize = std::size_t{1} << 20;
    static constexpr std::size_t kMaxKeptLength = std::size_t{64} << 10;

    explicit LineReader(ByteSource& source);

    // The next line without its line feed, valid until the next call; false
    // when no line is left. A last line without a line feed still counts.
    bool next(std::string_view& line);
    // Bytes from the start of the source to the next line; nullopt while the
    // tail of a cut line is still unread.
    std::optional<std::uint64_t> nextLineOffset() const {
        if (skipping_) return std::nullopt;
        return delivered_ - (end_ - begin_);
    }

private:
    bool refill();  // moves the unread bytes to the front and reads more
    bool skipRestOfLine();

    ByteSource& source_;
    std::unique_ptr<char[]> buffer_;
    std::size_t begin_ = 0;
    std::size_t end_ = 0;
    std::uint64_t delivered_ = 0;  // bytes read from the source so far
    bool ended_ = false;
    bool skipping_ = false;  // the previous line was cut; its tail is still unread
};

}  // namespace halvik

#endif
