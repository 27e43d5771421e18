// The marker file writer. A regular file is never half written: the new text
// goes to a fresh file in the same folder (the engine's OutputFile), is
// flushed to the disk, and only then renamed over the old one, so a full disk
// or a failed write leaves an existing file exactly as it was. Only a file the user may change in a
// folder that takes no new files is written in place, as it is the one way
// to save it at all.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <optional>

#include "core/markers/graph_lib.h"
#include "engine/output_file.h"

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
            if (errno == EINTR) continue;
            return errno;
        }
        if (written == 0) return ENOSPC;
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return 0;
}

enum class OldFile { LeftAsItWas, MayBeCutShort, NotAFile };

MarkerFileError failure(const std::string& path, int error, OldFile old) {
    std::string message = "The marker list cannot be saved as \"" + path + "\": " + std::strerror(error) + ".";
    if (old == OldFile::LeftAsItWas)
        message += " Any file of that name is left as it was.";
    else if (old == OldFile::MayBeCutShort)
        message += " The file may be incomplete.";
    return MarkerFileError{std::move(message)};
}

// Devices and pipes (a printer port, /dev/null) cannot be replaced; they are
// written as they are, like any program writing to them would.
int writeInPlace(const std::string& path, std::string_view text) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_TRUNC | O_CLOEXEC);
    if (fd < 0) return errno;
    int error = writeAll(fd, text);
    if (::close(fd) != 0 && error == 0) error = errno;
    return error;
}

struct ReplaceOutcome {
    int error = 0;
    bool noTempFile = false;  // the folder took no new file; nothing was touched
};

ReplaceOutcome writeReplacing(const std::string& path, std::string_view text) {
    int error = 0;
    const auto file = halvik::OutputFile::create(path, {.syncBeforeRename = true}, &error);
    if (!file) return {error, true};
    file->write(text);
    if (!file->commit()) return {file->error(), false};
    return {};
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
    if (path.empty()) return failure(path, ENOENT, OldFile::NotAFile);
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
    if (old && S_ISDIR(old->st_mode)) return failure(path, EISDIR, OldFile::LeftAsItWas);
    if (old && !S_ISREG(old->st_mode)) {
        if (const int error = writeInPlace(target, text)) return failure(path, error, OldFile::NotAFile);
        return std::monostate{};
    }
    // A write-protected file stays protected: replacing it through the
    // folder would overwrite what its owner meant to keep.
    if (old && ::access(target.c_str(), W_OK) != 0) return failure(path, errno, OldFile::LeftAsItWas);
    const ReplaceOutcome outcome = writeReplacing(target, text);
    if (outcome.error == 0) return std::monostate{};
    // A writable file in a folder that takes no new files can still be
    // saved, as before, by writing it in place; only then may a failure
    // leave it cut short.
    if (outcome.noTempFile && old && (outcome.error == EACCES || outcome.error == EPERM) &&
        ::access(target.c_str(), W_OK) == 0) {
        if (const int error = writeInPlace(target, text)) return failure(path, error, OldFile::MayBeCutShort);
        return std::monostate{};
    }
    return failure(path, outcome.error, OldFile::LeftAsItWas);
}

}  // namespace orvenda::markers
