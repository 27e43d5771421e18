// A temporary file that is removed unless it is kept: on every return path,
// on an exception, and (through the removal registry) on SIGINT, SIGTERM and
// SIGHUP. Written through a buffered stream; keepAs() renames it into place.
#ifndef ORVENDA_CORE_CLEANUP_TEMPORARY_FILE_H
#define ORVENDA_CORE_CLEANUP_TEMPORARY_FILE_H

#include <cstddef>
#include <cstdio>
#include <memory>
#include <string>

namespace orvenda::cleanup {

class TemporaryFile {
public:
    // A new empty file in `folder` (the system's temporary folder when
    // empty) whose name starts with `stem`; nullptr with `error` set when it
    // cannot be created.
    static std::unique_ptr<TemporaryFile> create(const std::string& folder, const std::string& stem,
                                                 std::string& error);
    ~TemporaryFile();
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    const std::string& path() const { return path_; }

    // Appends bytes; false once any write failed (the reason in error()).
    bool write(const void* data, std::size_t size);
    // Flushes and closes; the file stays (and is still removed later).
    bool close();
    // Closes and renames the file to `target`, which it then no longer owns.
    bool keepAs(const std::string& target);
    // Removes the file now.
    void remove();

    const std::string& error() const { return error_; }

private:
    TemporaryFile(std::string path, std::FILE* stream, int slot);
    bool fail(const std::string& what);

    std::string path_;
    std::FILE* stream_;
    int slot_;
    bool owned_ = true;
    std::unique_ptr<char[]> buffer_;
    std::string error_;
};

// The folder of `path` ("." when it has none).
std::string folderOf(const std::string& path);

}  // namespace orvenda::cleanup

#endif
