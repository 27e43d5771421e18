// Where the scanner's bytes come from: a file or a block of memory. Both
// are read through the same chunked code, so tests and fuzz targets that
// feed bytes exercise exactly what the loads run on files.
#ifndef ORVENDA_GUI_INPUT_CHUNK_SOURCE_H
#define ORVENDA_GUI_INPUT_CHUNK_SOURCE_H

#include <cstddef>
#include <cstdio>
#include <string>
#include <string_view>

namespace orvenda::input {

class ChunkSource {
public:
    virtual ~ChunkSource() = default;
    // Reads up to `size` bytes into `buffer`; returns how many, 0 at the end.
    // On a read error returns 0 and failed() becomes true.
    virtual std::size_t read(char* buffer, std::size_t size) = 0;
    virtual bool failed() const = 0;
    // Why the last operation failed, in the system's words.
    virtual std::string reason() const = 0;
};

class MemoryChunkSource final : public ChunkSource {
public:
    explicit MemoryChunkSource(std::string_view bytes) : rest_(bytes) {}
    std::size_t read(char* buffer, std::size_t size) override;
    bool failed() const override { return false; }
    std::string reason() const override { return {}; }

private:
    std::string_view rest_;
};

class FileChunkSource final : public ChunkSource {
public:
    // Opens `path` (the file system's narrow encoding) for binary reading.
    explicit FileChunkSource(const std::string& path);
    ~FileChunkSource() override;
    FileChunkSource(const FileChunkSource&) = delete;
    FileChunkSource& operator=(const FileChunkSource&) = delete;

    bool isOpen() const { return file_ != nullptr; }
    std::size_t read(char* buffer, std::size_t size) override;
    bool failed() const override { return failed_; }
    std::string reason() const override { return reason_; }

private:
    std::FILE* file_ = nullptr;
    bool failed_ = false;
    std::string reason_;
};

}  // namespace orvenda::input

#endif
