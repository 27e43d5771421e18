// What both benchmarks write their input files with: one fixed signal and a
// buffered file writer that fails loudly.
#ifndef ORVENDA_BENCH_COMMON_BENCH_DATA_WRITER_H
#define ORVENDA_BENCH_COMMON_BENCH_DATA_WRITER_H

#include <charconv>
#include <cstdint>
#include <cstdio>
#include <stdexcept>
#include <string>

namespace orvenda::bench {

// A fixed pseudo-random signal in [-1, 1): every run uses the same data.
class Signal {
public:
    float next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 7;
        state_ ^= state_ << 17;
        return static_cast<float>(static_cast<double>(state_ >> 11) * 0x1.0p-52 - 1.0);
    }

private:
    std::uint64_t state_ = 0x9E3779B97F4A7C15ull;
};

class Writer {
public:
    explicit Writer(const std::string& path) : path_(path), file_(std::fopen(path.c_str(), "wb")) {
        if (file_ == nullptr) throw std::runtime_error("cannot create " + path);
        buffer_.reserve(kChunk + 64);
    }
    ~Writer() {
        if (file_ != nullptr) std::fclose(file_);
    }
    Writer(const Writer&) = delete;
    Writer& operator=(const Writer&) = delete;

    void append(const void* data, std::size_t size) {
        buffer_.append(static_cast<const char*>(data), size);
        if (buffer_.size() >= kChunk) flush();
    }
    void appendNumber(float value, char end) {
        char text[32];
        auto result = std::to_chars(text, text + sizeof text - 1, value, std::chars_format::fixed, 6);
        *result.ptr++ = end;
        append(text, static_cast<std::size_t>(result.ptr - text));
    }
    std::uint64_t finish() {
        flush();
        const bool failed = std::fclose(file_) != 0;
        file_ = nullptr;
        if (failed) throw std::runtime_error("cannot write " + path_);
        return written_;
    }

private:
    static constexpr std::size_t kChunk = 1 << 20;
    void flush() {
        if (std::fwrite(buffer_.data(), 1, buffer_.size(), file_) != buffer_.size())
            throw std::runtime_error("cannot write " + path_);
        written_ += buffer_.size();
        buffer_.clear();
    }

    std::string path_;
    std::FILE* file_;
    std::string buffer_;
    std::uint64_t written_ = 0;
};

}  // namespace orvenda::bench

#endif
