#include "engine/output_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace halvik {
namespace {

std::atomic<unsigned> temporaryCounter{0};

// The temporary file's name carries at most this much of the output's name,
// so that it stays within the 255-byte name limit when the output's own name
// nearly fills it; the process id and the counter keep it unique.
constexpr std::size_t kTemporaryNameStem = 200;

std::string folderOf(const std::string& path) {
    std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

std::string nameOf(const std::string& path) {
    std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// A symbolic link is written through, as opening it for writing would: the
// file it names is replaced, the link stays.
std::string resolveLink(const std::string& path) {
    struct stat status {};
    if (::lstat(path.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) return path;
    char* resolved = ::realpath(path.c_str(), nullptr);
    if (resolved == nullptr) return path;
    std::string target(resolved);
    std::free(resolved);
    return target;
}

}  // namespace

std::optional<TemporaryName> temporaryNameFor(const std::string& outputPath, long processId) {
    const std::string path = resolveLink(outputPath);
    const std::string name = nameOf(path);
    if (name.empty() || name == "." || name == "..") return std::nullopt;
    std::string prefix = ".";
    prefix.append(name, 0, kTemporaryNameStem);
    prefix += ".tmp";
    prefix += std::to_string(processId);
    prefix += '-';
    return TemporaryName{folderOf(path), std::move(prefix)};
}

std::unique_ptr<OutputFile> OutputFile::create(const std::string& path, int* error) {
    return create(path, Options{}, error);
}

std::unique_ptr<OutputFile> OutputFile::create(const std::string& requestedPath, Options options, int* error) {
    int ignored = 0;
    int& reason = error != nullptr ? *error : ignored;
    reason = 0;
    const std::string path = resolveLink(requestedPath);
    const std::optional<TemporaryName> temporaryName = temporaryNameFor(path, ::getpid());
    if (!temporaryName) {
        reason = nameOf(path).empty() ? ENOENT : EISDIR;
        return nullptr;
    }
    // An existing output must be a regular file we could have opened for
    // writing (renaming over a device or a pipe would replace it with a plain
    // file); its permission bits carry over to the replacement.
    bool replacing = false;
    struct stat status {};
    if (::stat(path.c_str(), &status) == 0) {
        if (!S_ISREG(status.st_mode)) {
            reason = S_ISDIR(status.st_mode) ? EISDIR : EINVAL;
            return nullptr;
        }
        if (::access(path.c_str(), W_OK) != 0) {
            reason = errno;
            return nullptr;
        }
        replacing = true;
    }
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string temporary =
            temporaryName->folder + "/" + temporaryName->prefix + std::to_string(temporaryCounter.fetch_add(1));
        int descriptor = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (descriptor >= 0) {
            if (replacing) {
                (void)::fchmod(descriptor, status.st_mode & 07777);
                (void)!::fchown(descriptor, status.st_uid, status.st_gid);
            }
            return std::unique_ptr<OutputFile>(new OutputFile(path, std::move(temporary), descriptor, options));
        }
        if (errno != EEXIST) {
            reason = errno;
            return nullptr;
        }
    }
    reason = EEXIST;
    return nullptr;
}

OutputFile::OutputFile(std::string path, std::string temporaryPath, int descriptor, Options options)
    : path_(std::move(path)),
      temporaryPath_(std::move(temporaryPath)),
      descriptor_(descriptor),
      options_(options),
      buffer_(std::make_unique_for_overwrite<char[]>(kBufferSize)) {}

OutputFile::~OutputFile() {
    if (!committed_) discard();
}

void OutputFile::write(std::string_view bytes) { write(bytes.data(), bytes.size()); }

void OutputFile::write(const void* bytes, std::size_t size) {
    const char* data = static_cast<const char*>(bytes);
    while (size != 0 && !failed_) {
        if (used_ == kBufferSize) flush();
        std::size_t step = std::min(size, kBufferSize - used_);
        std::memcpy(buffer_.get() + used_, data, step);
        used_ += step;
        data += step;
        size -= step;
    }
}

void OutputFile::flush() {
    std::size_t written = 0;
    while (written < used_ && !failed_) {
        ssize_t step = ::write(descriptor_, buffer_.get() + written, used_ - written);
        if (step < 0 && errno == EINTR) continue;
        if (step <= 0)
            fail(step < 0 ? errno : ENOSPC);  // a full disk or an I/O error
        else
            written += static_cast<std::size_t>(step);
    }
    used_ = 0;
}

void OutputFile::fail(int error) {
    if (!failed_) error_ = error != 0 ? error : EIO;
    failed_ = true;
}

bool OutputFile::commit() {
    if (committed_ || descriptor_ < 0) return false;
    flush();
    if (!failed_ && options_.syncBeforeRename && ::fsync(descriptor_) != 0) fail(errno);
    if (::close(descriptor_) != 0) fail(errno);
    descriptor_ = -1;
    if (!failed_ && std::rename(temporaryPath_.c_str(), path_.c_str()) != 0) fail(errno);
    if (failed_) {
        discard();
        return false;
    }
    committed_ = true;
    return true;
}

void OutputFile::discard() {
    if (descriptor_ >= 0) {
        ::close(descriptor_);
        descriptor_ = -1;
    }
    if (!temporaryPath_.empty()) {
        ::unlink(temporaryPath_.c_str());
        temporaryPath_.clear();
    }
}

}  // namespace halvik
