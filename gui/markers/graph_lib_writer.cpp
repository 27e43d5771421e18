// The marker file writer. A regular file is never half written: the new text
// goes to a fresh file in the same folder, is flushed to the disk, and only
// then renamed over the old one, so a full disk or a failed write leaves an
// existing file exactly as it was.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <optional>

#include "markers/graph_lib.h"

namespace orvenda::markers {
namespace {

void appendNumber(std::string& out, int32_t value) {
    char digits[16];
    const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
    out.append(digits, end);
}

// An errno value, or 0 for success.
int writeAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        if (written == 0)
            return ENOSPC;
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return 0;
}

MarkerFileError failure(const std::string& path, int error, bool leftAsItWas) {
    std::string message = "The marker list cannot be saved as \"" + path + "\": " + std::strerror(error) + ".";
    if (leftAsItWas)
        message += " Any file of that name is left as it was.";
    return MarkerFileError{std::move(message)};
}

// Devices and pipes (a printer port, /dev/null) cannot be replaced; they are
// written as they are, like any program writing to them would.
int writeInPlace(const std::string& path, std::string_view text) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (fd < 0)
        return errno;
    int error = writeAll(fd, text);
    if (::close(fd) != 0 && error == 0)
        error = errno;
    return error;
}

std::string folderOf(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

int writeReplacing(const std::string& path, std::string_view text, const std::optional<struct stat>& old) {
    const std::string folder = folderOf(path);
    const std::string base = path.substr(path.rfind('/') == std::string::npos ? 0 : path.rfind('/') + 1);
    std::string temp;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temp = folder + "/." + base + "." + std::to_string(::getpid()) + "-" + std::to_string(attempt) + ".tmp";
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST)
            return errno;
    }
    if (fd < 0)
        return EEXIST;
    if (old) {
        // Keep the replaced file's permissions and, where allowed, its owner.
        (void)::fchmod(fd, old->st_mode & 07777);
        (void)!::fchown(fd, old->st_uid, old->st_gid);
    }
    int error = writeAll(fd, text);
    if (error == 0 && ::fsync(fd) != 0)
        error = errno;
    if (::close(fd) != 0 && error == 0)
        error = errno;
    if (error == 0 && ::rename(temp.c_str(), path.c_str()) != 0)
        error = errno;
    if (error != 0)
        ::unlink(temp.c_str());
    return error;
}

}  // namespace

std::string markerFileText(std::span<const MarkerPoint> points) {
    std::string text;
    text.reserve(points.size() * 16);
    for (const MarkerPoint& point : points) {
        appendNumber(text, point.Pos);
        text += '\t';
        appendNumber(text, point.Value);
        text += "\r\n";
    }
    return text;
}

std::variant<std::monostate, MarkerFileError> writeMarkerFile(const std::string& path,
                                                              std::span<const MarkerPoint> points) {
    if (path.empty())
        return failure(path, ENOENT, false);
    const std::string text = markerFileText(points);

    // Through a symbolic link the file it points to is replaced, not the link.
    std::string target = path;
    struct stat info {};
    std::optional<struct stat> old;
    if (::stat(path.c_str(), &info) == 0) {
        old = info;
        if (char* resolved = ::realpath(path.c_str(), nullptr)) {
            target = resolved;
            std::free(resolved);
        }
    }
    if (old && S_ISDIR(old->st_mode))
        return failure(path, EISDIR, true);
    if (old && !S_ISREG(old->st_mode)) {
        if (const int error = writeInPlace(target, text))
            return failure(path, error, false);
        return std::monostate{};
    }
    if (const int error = writeReplacing(target, text, old))
        return failure(path, error, true);
    return std::monostate{};
}

}  // namespace orvenda::markers
