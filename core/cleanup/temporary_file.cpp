#include "core/cleanup/temporary_file.h"

#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <vector>

#include "core/cleanup/removal_registry.h"

namespace orvenda::cleanup {
namespace {

constexpr std::size_t kStreamBuffer = std::size_t{1} << 20;

std::string systemReason(int code) { return std::strerror(code); }

}  // namespace

std::string folderOf(const std::string& path) {
    std::filesystem::path folder = std::filesystem::path(path).parent_path();
    return folder.empty() ? std::string(".") : folder.string();
}

std::unique_ptr<TemporaryFile> TemporaryFile::create(const std::string& folder, const std::string& stem,
                                                     std::string& error) {
    std::error_code ignored;
    std::filesystem::path base =
        folder.empty() ? std::filesystem::temp_directory_path(ignored) : std::filesystem::path(folder);
    std::string pattern = (base / (stem + ".XXXXXX")).string();
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    const int descriptor = mkstemp(name.data());
    if (descriptor < 0) {
        error = "cannot create a temporary file in \"" + base.string() + "\": " + systemReason(errno);
        return nullptr;
    }
    std::string path(name.data());
    const int slot = registerForRemoval(path);
    std::FILE* stream = fdopen(descriptor, "wb");
    if (stream == nullptr) {
        error = "cannot open the temporary file \"" + path + "\": " + systemReason(errno);
        ::close(descriptor);
        unlink(path.c_str());
        unregisterForRemoval(slot);
        return nullptr;
    }
    return std::unique_ptr<TemporaryFile>(new TemporaryFile(std::move(path), stream, slot));
}

TemporaryFile::TemporaryFile(std::string path, std::FILE* stream, int slot)
    : path_(std::move(path)), stream_(stream), slot_(slot), buffer_(new char[kStreamBuffer]) {
    std::setvbuf(stream_, buffer_.get(), _IOFBF, kStreamBuffer);
}

TemporaryFile::~TemporaryFile() { remove(); }

bool TemporaryFile::fail(const std::string& what) {
    if (error_.empty()) error_ = what + " \"" + path_ + "\": " + systemReason(errno);
    return false;
}

bool TemporaryFile::write(const void* data, std::size_t size) {
    if (!error_.empty()) return false;
    if (stream_ == nullptr) {
        error_ = "the temporary file \"" + path_ + "\" is already closed";
        return false;
    }
    if (size > 0 && std::fwrite(data, 1, size, stream_) != size) return fail("cannot write to");
    return true;
}

bool TemporaryFile::close() {
    if (stream_ == nullptr) return error_.empty();
    const bool flushed = std::fflush(stream_) == 0;
    const int flushError = errno;
    const bool closed = std::fclose(stream_) == 0;
    stream_ = nullptr;
    if (!flushed) {
        errno = flushError;
        return fail("cannot write to");
    }
    if (!closed) return fail("cannot close");
    return error_.empty();
}

bool TemporaryFile::keepAs(const std::string& target) {
    if (!close()) return false;
    // mkstemp makes the file private; a kept file is an ordinary one.
    chmod(path_.c_str(), 0644);
    if (std::rename(path_.c_str(), target.c_str()) != 0) {
        error_ = "cannot rename \"" + path_ + "\" to \"" + target + "\": " + systemReason(errno);
        return false;
    }
    owned_ = false;
    unregisterForRemoval(slot_);
    slot_ = -1;
    return true;
}

void TemporaryFile::remove() {
    if (stream_ != nullptr) {
        std::fclose(stream_);
        stream_ = nullptr;
    }
    if (owned_) {
        unlink(path_.c_str());
        owned_ = false;
    }
    unregisterForRemoval(slot_);
    slot_ = -1;
}

}  // namespace orvenda::cleanup
