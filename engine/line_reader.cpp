#include "engine/line_reader.h"

#include <cstring>

namespace halvik {

LineReader::LineReader(ByteSource& source)
    : source_(source), buffer_(std::make_unique_for_overwrite<char[]>(kBufferSize)) {}

bool LineReader::refill() {
    if (ended_) return false;
    if (begin_ != 0) {
        std::memmove(buffer_.get(), buffer_.get() + begin_, end_ - begin_);
        end_ -= begin_;
        begin_ = 0;
    }
    std::size_t room = kBufferSize - end_;
    if (room == 0) return false;
    std::size_t got = source_.read(std::as_writable_bytes(std::span<char>(buffer_.get() + end_, room)));
    if (got == 0) {
        ended_ = true;
        return false;
    }
    end_ += got;
    delivered_ += got;
    return true;
}

bool LineReader::skipRestOfLine() {
    for (;;) {
        const void* feed = std::memchr(buffer_.get() + begin_, '\n', end_ - begin_);
        if (feed != nullptr) {
            begin_ = static_cast<std::size_t>(static_cast<const char*>(feed) - buffer_.get()) + 1;
            return true;
        }
        begin_ = end_ = 0;
        if (!refill()) return false;
    }
}

bool LineReader::next(std::string_view& line) {
    if (skipping_) {
        skipping_ = false;
        if (!skipRestOfLine()) return false;
    }
    std::size_t searched = begin_;
    for (;;) {
        const void* feed = std::memchr(buffer_.get() + searched, '\n', end_ - searched);
        if (feed != nullptr) {
            std::size_t length = static_cast<std::size_t>(static_cast<const char*>(feed) - buffer_.get()) - begin_;
            if (length > kMaxKeptLength) {
                length = kMaxKeptLength;
            }
            line = std::string_view(buffer_.get() + begin_, length);
            begin_ = static_cast<std::size_t>(static_cast<const char*>(feed) - buffer_.get()) + 1;
            return true;
        }
        if (end_ - begin_ >= kMaxKeptLength) {
            // A very long line: keep its head, drop the rest on the next call.
            line = std::string_view(buffer_.get() + begin_, kMaxKeptLength);
            begin_ += kMaxKeptLength;
            skipping_ = true;
            return true;
        }
        std::size_t pending = end_ - begin_;
        if (!refill()) {
            if (end_ == begin_) return false;
            line = std::string_view(buffer_.get() + begin_, end_ - begin_);
            begin_ = end_;
            return true;
        }
        searched = begin_ + pending;
    }
}

}  // namespace halvik
