// The waveform file under construction. Bytes go to a temporary file in the
// output's own folder; commit() renames it over the output path only when
// every byte was written and the file closed cleanly. Without a successful
// commit the temporary file is removed and the output path stays as it was.
#ifndef ORVENDA_ENGINE_OUTPUT_FILE_H
#define ORVENDA_ENGINE_OUTPUT_FILE_H

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace halvik {

class OutputFile {
public:
    static constexpr std::size_t kBufferSize = std::size_t{1} << 20;

    // nullptr when the output cannot be created: its folder is missing or not
    // writable, or the path names a folder, a device, a pipe or a file we may
    // not write.
    static std::unique_ptr<OutputFile> create(const std::string& path);
    ~OutputFile();
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    void write(std::string_view bytes);
    void write(const void* bytes, std::size_t size);
    // Flushes, closes and renames over the output path; false on any write,
    // close or rename error (the temporary file is then removed).
    bool commit();

    const std::string& temporaryPath() const { return temporaryPath_; }

private:
    OutputFile(std::string path, std::string temporaryPath, int descriptor);
    void flush();
    void discard();

    std::string path_;
    std::string temporaryPath_;
    int descriptor_;
    bool failed_ = false;
    bool committed_ = false;
    std::unique_ptr<char[]> buffer_;
    std::size_t used_ = 0;
};

}  // namespace halvik

#endif
