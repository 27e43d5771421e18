#include "core/input/chunk_source.h"

#include <cerrno>
#include <cstring>
#include <system_error>

namespace orvenda::input {

std::size_t MemoryChunkSource::read(char* buffer, std::size_t size) {
    const std::size_t n = size < rest_.size() ? size : rest_.size();
    if (n != 0)
        std::memcpy(buffer, rest_.data(), n);
    rest_.remove_prefix(n);
    return n;
}

FileChunkSource::FileChunkSource(const std::string& path) {
    errno = 0;
    file_ = std::fopen(path.c_str(), "rb");
    if (file_ == nullptr) {
        failed_ = true;
        reason_ = std::generic_category().message(errno);
        return;
    }
    // The scanner reads megabytes at once; a stdio buffer would only add a copy.
    std::setvbuf(file_, nullptr, _IONBF, 0);
}

FileChunkSource::~FileChunkSource() {
    if (file_ != nullptr)
        std::fclose(file_);
}

std::size_t FileChunkSource::read(char* buffer, std::size_t size) {
    if (file_ == nullptr || failed_)
        return 0;
    errno = 0;
    const std::size_t n = std::fread(buffer, 1, size, file_);
    if (n < size && std::ferror(file_)) {
        failed_ = true;
        reason_ = std::generic_category().message(errno);
    }
    return n;
}

}  // namespace orvenda::input
