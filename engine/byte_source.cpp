#include "engine/byte_source.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <cerrno>
#include <cstring>
#include <limits>

namespace halvik {

std::unique_ptr<FileByteSource> FileByteSource::open(const std::string& path, Folders folders, int* openError) {
    int ignored = 0;
    int& error = openError != nullptr ? *openError : ignored;
    error = 0;
    if (path.empty()) {
        error = ENOENT;
        return nullptr;
    }
    int descriptor = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (descriptor < 0) {
        error = errno;
        return nullptr;
    }
    if (folders == Folders::Refuse) {
        struct stat status {};
        if (::fstat(descriptor, &status) != 0 || S_ISDIR(status.st_mode)) {
            error = S_ISDIR(status.st_mode) ? EISDIR : errno;
            ::close(descriptor);
            return nullptr;
        }
    }
    return std::unique_ptr<FileByteSource>(new FileByteSource(descriptor));
}

FileByteSource::FileByteSource(int descriptor)
    : descriptor_(descriptor), buffer_(std::make_unique_for_overwrite<std::byte[]>(kBufferSize)) {}

FileByteSource::~FileByteSource() { ::close(descriptor_); }

std::size_t FileByteSource::readFromFile(std::byte* destination, std::size_t size) {
    std::size_t total = 0;
    while (total < size && !ended_) {
        ssize_t got = ::read(descriptor_, destination + total, size - total);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) {
            ended_ = true;  // end of file, or a read error: both end the data
            if (got < 0) error_ = errno;
            break;
        }
        total += static_cast<std::size_t>(got);
    }
    return total;
}

std::size_t FileByteSource::read(std::span<std::byte> destination) {
    std::size_t copied = 0;
    while (copied < destination.size()) {
        if (begin_ == end_) {
            std::size_t wanted = destination.size() - copied;
            if (wanted >= kBufferSize) return copied + readFromFile(destination.data() + copied, wanted);
            begin_ = 0;
            end_ = readFromFile(buffer_.get(), kBufferSize);
            if (end_ == 0) break;
        }
        std::size_t step = std::min(end_ - begin_, destination.size() - copied);
        std::memcpy(destination.data() + copied, buffer_.get() + begin_, step);
        begin_ += step;
        copied += step;
    }
    return copied;
}

std::span<const std::byte> FileByteSource::view(std::size_t size) {
    size = std::min(size, kMaxView);
    if (end_ - begin_ < size) {
        std::memmove(buffer_.get(), buffer_.get() + begin_, end_ - begin_);
        end_ -= begin_;
        begin_ = 0;
        end_ += readFromFile(buffer_.get() + end_, kBufferSize - end_);
    }
    std::size_t step = std::min(size, end_ - begin_);
    std::span<const std::byte> bytes(buffer_.get() + begin_, step);
    begin_ += step;
    return bytes;
}

bool FileByteSource::seek(std::uint64_t offset) {
    if (offset > static_cast<std::uint64_t>(std::numeric_limits<off_t>::max())) return false;
    if (::lseek(descriptor_, static_cast<off_t>(offset), SEEK_SET) < 0) return false;
    begin_ = end_ = 0;
    ended_ = false;
    return true;
}

std::size_t MemoryByteSource::read(std::span<std::byte> destination) {
    std::size_t step = std::min(destination.size(), bytes_.size() - position_);
    if (step != 0) std::memcpy(destination.data(), bytes_.data() + position_, step);
    position_ += step;
    return step;
}

bool MemoryByteSource::seek(std::uint64_t offset) {
    position_ = static_cast<std::size_t>(std::min<std::uint64_t>(offset, bytes_.size()));
    return true;
}

std::unique_ptr<ByteSource> openFileSource(const std::string& path) { return FileByteSource::open(path); }

std::span<const std::byte> MemoryByteSource::view(std::size_t size) {
    std::size_t step = std::min(std::min(size, kMaxView), bytes_.size() - position_);
    std::span<const std::byte> bytes = bytes_.subspan(position_, step);
    position_ += step;
    return bytes;
}

}  // namespace halvik
