#include "engine/line_batches.h"

#include <algorithm>

namespace halvik {

LineBatches::LineBatches(ByteSource& source)
    : source_(source), buffer_(std::make_unique_for_overwrite<char[]>(kBufferSize)) {}

bool LineBatches::refill() {
    if (ended_) return false;
    if (begin_ != 0) {
        std::memmove(buffer_.get(), buffer_.get() + begin_, end_ - begin_);
        end_ -= begin_;
        begin_ = 0;
    }
    std::size_t got = source_.read(std::as_writable_bytes(std::span<char>(buffer_.get() + end_, kBufferSize - end_)));
    if (got == 0) ended_ = true;
    end_ += got;
    return got != 0;
}

bool LineBatches::next(std::string_view& batch) {
    for (;;) {
        if (skipping_) {
            const void* feed = std::memchr(buffer_.get() + begin_, '\n', end_ - begin_);
            if (feed != nullptr) {
                begin_ = static_cast<std::size_t>(static_cast<const char*>(feed) - buffer_.get()) + 1;
                skipping_ = false;
            } else {
                begin_ = end_ = 0;
                if (!refill()) return false;
                continue;
            }
        }
        const char* start = buffer_.get() + begin_;
        const void* lastFeed = ::memrchr(start, '\n', end_ - begin_);
        if (lastFeed != nullptr) {
            std::size_t length = static_cast<std::size_t>(static_cast<const char*>(lastFeed) - start) + 1;
            batch = std::string_view(start, length);
            begin_ += length;
            return true;
        }
        if (ended_) {
            if (begin_ == end_) return false;
            batch = std::string_view(start, end_ - begin_);  // a last line without a line feed
            begin_ = end_;
            return true;
        }
        if (begin_ == 0 && end_ == kBufferSize) {
            // A line longer than the buffer: its head is the line.
            batch = std::string_view(start, LineReader::kMaxKeptLength);
            begin_ = end_;
            skipping_ = true;
            return true;
        }
        refill();
    }
}

}  // namespace halvik
