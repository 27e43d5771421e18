// A file written whole or not at all: the engine's waveform files and the
// program's marker lists. Bytes go to a temporary file in the output's own
// folder; commit() renames it over the output path only when every byte was
// written and the file closed cleanly. Without a successful commit the
// temporary file is removed and the output path stays as it was. A replaced
// file's permission bits, and where allowed its owner, carry over.
#ifndef ORVENDA_ENGINE_OUTPUT_FILE_H
#define ORVENDA_ENGINE_OUTPUT_FILE_H

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace halvik {

// Where the temporary file of an output goes: the folder of the output (of
// the file a symbolic link names) and the start of the name, followed there
// by a per-process counter. The name is "." + the output's name (at most 200
// bytes of it) + ".tmp" + process id + "-" + counter, so a program that calls
// the library can find the temporary files of its own process, e.g. to
// remove them when it is stopped by a signal.
struct TemporaryName {
    std::string folder;
    std::string prefix;  // "." NAME ".tmp" PID "-"
};
// Nothing when the path names no file (empty, "." or "..").
std::optional<TemporaryName> temporaryNameFor(const std::string& outputPath, long processId);

class OutputFile {
public:
    static constexpr std::size_t kBufferSize = std::size_t{1} << 20;

    struct Options {
        // The bytes reach the disk before the rename, so that a crash cannot
        // leave an empty file in the old one's place.
        bool syncBeforeRename = false;
    };

    // nullptr when the output cannot be created: its folder is missing or not
    // writable, or the path names a folder, a device, a pipe or a file we may
    // not write. `error`, when given, then holds the system's error number.
    static std::unique_ptr<OutputFile> create(const std::string& path, int* error = nullptr);
    static std::unique_ptr<OutputFile> create(const std::string& path, Options options, int* error = nullptr);
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    void write(std::string_view bytes);
    void write(const void* bytes, std::size_t size);
    // Flushes, closes and renames over the output path; false on any write,
    // close or rename error (the temporary file is then removed).
    bool commit();
    // The system's error number of the first failure; 0 while none occurred.
    int error() const { return error_; }

    const std::string& temporaryPath() const { return temporaryPath_; }

private:
    OutputFile(std::string path, std::string temporaryPath, int descriptor, Options options);
    void flush();
    void fail(int error);
    void discard();

    std::string path_;
    std::string temporaryPath_;
    int descriptor_;
    Options options_;
    bool failed_ = false;
    int error_ = 0;
    bool committed_ = false;
    std::unique_ptr<char[]> buffer_;
    std::size_t used_ = 0;
};

}  // namespace halvik

#endif
