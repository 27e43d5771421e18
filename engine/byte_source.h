// Where input bytes come from: the engine's sample readers, the program's
// input scanner and its marker file reader all read a ByteSource, so bytes
// held in memory (tests, fuzzing) travel exactly the code path that bytes
// read from a file travel.
#ifndef ORVENDA_ENGINE_BYTE_SOURCE_H
#define ORVENDA_ENGINE_BYTE_SOURCE_H

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace halvik {

class ByteSource {
public:
    virtual ~ByteSource() = default;
    // Copies up to destination.size() bytes; returns how many. Fewer than asked
    // only at the end of the data, or after a read error (which counts as end).
    virtual std::size_t read(std::span<std::byte> destination) = 0;
    // Takes up to size bytes (size at most kMaxView) without copying them
    // out; the view stays valid until the next call. Fewer bytes only at the
    // end of the data.
    virtual std::span<const std::byte> view(std::size_t size) = 0;
    // The system's error number of the read error that ended the data; 0
    // while none occurred (the engine takes such an end as the end of the
    // input, the program's readers report it).
    virtual int error() const { return 0; }
    // Continues reading at byte offset of the data (dropping buffered bytes);
    // false when the source cannot be positioned there.
    virtual bool seek(std::uint64_t /*offset*/) { return false; }

    static constexpr std::size_t kMaxView = std::size_t{64} << 10;
};

// Reads a file through a large buffer; small reads are served from the buffer,
// large ones go straight to the file.
class FileByteSource final : public ByteSource {
public:
    static constexpr std::size_t kBufferSize = std::size_t{1} << 20;

    // What opening a folder does: the engine refuses it as no input file; the
    // program's readers open it and report the read error it gives.
    enum class Folders { Refuse, Open };

    // nullptr when the file cannot be opened for reading (or is a folder
    // that is refused); `openError`, when given, then holds the reason.
    static std::unique_ptr<FileByteSource> open(const std::string& path, Folders folders = Folders::Refuse,
                                                int* openError = nullptr);
    ~FileByteSource() override;
    FileByteSource(const FileByteSource&) = delete;
    FileByteSource& operator=(const FileByteSource&) = delete;

    std::size_t read(std::span<std::byte> destination) override;
    std::span<const std::byte> view(std::size_t size) override;
    int error() const override { return error_; }
    bool seek(std::uint64_t offset) override;

private:
    explicit FileByteSource(int descriptor);
    std::size_t readFromFile(std::byte* destination, std::size_t size);

    int descriptor_;
    bool ended_ = false;
    int error_ = 0;
    std::unique_ptr<std::byte[]> buffer_;
    std::size_t begin_ = 0;
    std::size_t end_ = 0;
};

// Serves bytes the caller keeps alive for the source's lifetime.
class MemoryByteSource final : public ByteSource {
public:
    explicit MemoryByteSource(std::span<const std::byte> bytes) : bytes_(bytes) {}
    explicit MemoryByteSource(std::string_view bytes)
        : bytes_(reinterpret_cast<const std::byte*>(bytes.data()), bytes.size()) {}
    std::size_t read(std::span<std::byte> destination) override;
    std::span<const std::byte> view(std::size_t size) override;
    bool seek(std::uint64_t offset) override;

private:
    std::span<const std::byte> bytes_;
    std::size_t position_ = 0;
};

// Opens the source behind an input path; nullptr when it cannot be opened.
using SourceOpener = std::function<std::unique_ptr<ByteSource>(const std::string& path)>;

// The opener the library uses: paths name files.
std::unique_ptr<ByteSource> openFileSource(const std::string& path);

}  // namespace halvik

#endif
