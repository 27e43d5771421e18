#include "bench_inputs.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <stdexcept>

namespace orvenda::bench {

namespace {

// A fixed pseudo-random signal in [-1, 1): every run converts the same data.
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
        if (!file_) throw std::runtime_error("cannot create " + path);
        buffer_.reserve(kChunk + 64);
    }
    ~Writer() {
        if (file_) std::fclose(file_);
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
        if (std::fwrite(buffer_.data(), 1, buffer_.size(), file_) != buffer_.size()) {
            throw std::runtime_error("cannot write " + path_);
        }
        written_ += buffer_.size();
        buffer_.clear();
    }

    std::string path_;
    std::FILE* file_;
    std::string buffer_;
    std::uint64_t written_ = 0;
};

}  // namespace

InputFiles prepareInputs(Layout layout, std::int64_t samples, const std::string& folder) {
    Signal signal;
    InputFiles files;
    switch (layout) {
        case Layout::TwoColumnText: {
            files.paths = {folder + "/iq.txt"};
            Writer out(files.paths[0]);
            for (std::int64_t k = 0; k < samples; ++k) {
                out.appendNumber(signal.next(), '\t');
                out.appendNumber(signal.next(), '\n');
            }
            files.bytes = out.finish();
            files.peak = 1.0;
            break;
        }
        case Layout::SingleColumnText: {
            files.paths = {folder + "/i.txt", folder + "/q.txt"};
            Writer i(files.paths[0]);
            Writer q(files.paths[1]);
            for (std::int64_t k = 0; k < samples; ++k) {
                i.appendNumber(signal.next(), '\n');
                q.appendNumber(signal.next(), '\n');
            }
            files.bytes = i.finish() + q.finish();
            files.peak = 1.0;
            break;
        }
        case Layout::Int16Pairs: {
            files.paths = {folder + "/iq16.bin"};
            Writer out(files.paths[0]);
            for (std::int64_t k = 0; k < samples; ++k) {
                const std::int16_t pair[2] = {static_cast<std::int16_t>(std::lround(signal.next() * 32767.0f)),
                                              static_cast<std::int16_t>(std::lround(signal.next() * 32767.0f))};
                out.append(pair, sizeof pair);
            }
            files.bytes = out.finish();
            files.peak = 32767.0;
            break;
        }
        case Layout::FloatPairs: {
            files.paths = {folder + "/iqf.bin"};
            Writer out(files.paths[0]);
            for (std::int64_t k = 0; k < samples; ++k) {
                const float pair[2] = {signal.next(), signal.next()};
                out.append(pair, sizeof pair);
            }
            files.bytes = out.finish();
            files.peak = 1.0;
            break;
        }
    }
    return files;
}

void warmPageCache(const std::vector<std::string>& paths) {
    std::string buffer(1 << 20, '\0');
    for (const std::string& path : paths) {
        std::FILE* file = std::fopen(path.c_str(), "rb");
        if (!file) continue;
        while (std::fread(buffer.data(), 1, buffer.size(), file) == buffer.size()) {
        }
        std::fclose(file);
    }
}

}  // namespace orvenda::bench
