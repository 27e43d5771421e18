#include "core/sigmf/engine_samples.h"

#include <fcntl.h>
#include <unistd.h>

#include <bit>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <vector>

namespace orvenda::sigmf {
namespace {

static_assert(std::endian::native == std::endian::little, "the engine's layouts are little-endian");

constexpr std::size_t kChunkSamples = 1 << 16;
constexpr double kTwoTo31 = 2147483648.0;

struct Stop {
    std::string message;
};

std::uint64_t loadComponent(const unsigned char* p, std::size_t bytes, bool bigEndian) {
    std::uint64_t value = 0;
    for (std::size_t k = 0; k < bytes; ++k) {
        const std::size_t shift = 8 * (bigEndian ? bytes - 1 - k : k);
        value |= static_cast<std::uint64_t>(p[k]) << shift;
    }
    return value;
}

// One component as the engine's float; NaN or infinity stays so (checked by the caller).
float floatOf(const Datatype& type, std::uint64_t raw) {
    switch (type.kind) {
    case ComponentKind::Float:
        if (type.bits == 32) return std::bit_cast<float>(static_cast<std::uint32_t>(raw));
        return static_cast<float>(std::bit_cast<double>(raw));
    case ComponentKind::SignedInteger:
        switch (type.bits) {
        case 8: return static_cast<float>(static_cast<std::int8_t>(raw)) / 128.0f;
        case 16: return static_cast<float>(static_cast<std::int16_t>(raw)) / 32768.0f;
        default: return static_cast<float>(static_cast<double>(static_cast<std::int32_t>(raw)) / kTwoTo31);
        }
    case ComponentKind::UnsignedInteger:
        switch (type.bits) {
        case 8: return (static_cast<float>(raw) - 128.0f) / 128.0f;
        case 16: return (static_cast<float>(raw) - 32768.0f) / 32768.0f;
        default: return static_cast<float>((static_cast<double>(raw) - kTwoTo31) / kTwoTo31);
        }
    }
    return 0.0f;
}

class DataFile {
public:
    explicit DataFile(const std::string& path) : path_(path), descriptor_(::open(path.c_str(), O_RDONLY | O_CLOEXEC)) {
        if (descriptor_ < 0) throw Stop{path + ": cannot open the data file: " + std::strerror(errno)};
    }
    ~DataFile() { ::close(descriptor_); }
    DataFile(const DataFile&) = delete;
    DataFile& operator=(const DataFile&) = delete;

    // Exactly `size` bytes from `offset`.
    void readAt(std::uint64_t offset, unsigned char* destination, std::size_t size) {
        std::size_t done = 0;
        while (done < size) {
            ssize_t got = ::pread(descriptor_, destination + done, size - done, static_cast<off_t>(offset + done));
            if (got < 0 && errno == EINTR) continue;
            if (got < 0) throw Stop{path_ + ": cannot read the data file: " + std::strerror(errno)};
            if (got == 0)
                throw Stop{path_ + ": the data file ends at byte " + std::to_string(offset + done) +
                           " (it became shorter while it was read)"};
            done += static_cast<std::size_t>(got);
        }
    }

private:
    std::string path_;
    int descriptor_;
};

class Converter {
public:
    Converter(const Recording& recording, const PrepareOptions& options, cleanup::TemporaryFile& out)
        : recording_(recording),
          type_(recording.meta.datatype),
          options_(options),
          out_(out),
          toShort_(engineCommandOf(type_) == input::LoadCommand::BinaryShort) {}

    std::uint64_t run() {
        DataFile data(recording_.meta.dataPath);
        const std::uint64_t total = std::min(recording_.sampleCount, options_.sampleLimit);
        const std::size_t sampleBytes = type_.sampleBytes();
        std::vector<unsigned char> in(kChunkSamples * sampleBytes);
        std::vector<unsigned char> converted(kChunkSamples * 8);
        std::uint64_t done = 0;
        for (const Segment& segment : recording_.segments) {
            std::uint64_t left = std::min(segment.sampleCount, total - done);
            std::uint64_t offset = segment.byteOffset;
            while (left > 0) {
                const std::size_t samples = static_cast<std::size_t>(std::min<std::uint64_t>(left, kChunkSamples));
                data.readAt(offset, in.data(), samples * sampleBytes);
                const std::size_t bytes = convert(in.data(), samples, done, converted.data());
                if (!out_.write(converted.data(), bytes)) throw Stop{out_.error()};
                offset += samples * sampleBytes;
                left -= samples;
                done += samples;
                if (options_.onProgress && !options_.onProgress(done, total))
                    throw Stop{recording_.meta.dataPath + ": the conversion was cancelled"};
            }
            if (done == total) break;
        }
        if (!out_.close()) throw Stop{out_.error()};
        return done;
    }

private:
    std::size_t convert(const unsigned char* in, std::size_t samples, std::uint64_t firstIndex, unsigned char* out) {
        const std::size_t width = type_.componentBytes();
        if (toShort_) {
            for (std::size_t k = 0; k < 2 * samples; ++k) {
                const auto value = static_cast<std::uint16_t>(loadComponent(in + k * width, width, type_.bigEndian));
                out[2 * k] = static_cast<unsigned char>(value & 0xff);
                out[2 * k + 1] = static_cast<unsigned char>(value >> 8);
            }
            return 4 * samples;
        }
        for (std::size_t k = 0; k < 2 * samples; ++k) {
            const float value = floatOf(type_, loadComponent(in + k * width, width, type_.bigEndian));
            if (!std::isfinite(value)) refuseValue(firstIndex + k / 2, k % 2 == 0 ? "I" : "Q");
            std::memcpy(out + 4 * k, &value, 4);
        }
        return 8 * samples;
    }

    [[noreturn]] void refuseValue(std::uint64_t sample, const char* channel) const {
        throw Stop{recording_.meta.dataPath + ": sample " + std::to_string(sample) + " (counted from 0): " + channel +
                   " is not a finite number" + (type_.bits == 64 ? " within the float range" : "")};
    }

    const Recording& recording_;
    const Datatype& type_;
    const PrepareOptions& options_;
    cleanup::TemporaryFile& out_;
    bool toShort_;
};

std::string stemOf(const std::string& path) {
    std::string name = path.substr(path.find_last_of('/') + 1);
    return "." + name.substr(0, std::min<std::size_t>(name.size(), 120)) + ".orvenda";
}

}  // namespace

input::LoadCommand engineCommandOf(const Datatype& type) {
    const bool sixteenBitInteger = type.kind == ComponentKind::SignedInteger && type.bits == 16;
    return sixteenBitInteger ? input::LoadCommand::BinaryShort : input::LoadCommand::BinaryFloat;
}

std::variant<PreparedSamples, RecordingError> prepareForEngine(const Recording& recording,
                                                               const PrepareOptions& options) {
    const Datatype& type = recording.meta.datatype;
    PreparedSamples prepared;
    prepared.command = engineCommandOf(type);
    if ((isEngineFloatLayout(type) || isEngineShortLayout(type)) && recording.contiguous()) {
        prepared.path = recording.meta.dataPath;
        prepared.sampleCount = recording.sampleCount;
        return prepared;
    }
    std::string error;
    prepared.temporary =
        cleanup::TemporaryFile::create(options.temporaryFolder, stemOf(recording.meta.dataPath), error);
    if (!prepared.temporary) return RecordingError{error};
    try {
        prepared.sampleCount = Converter(recording, options, *prepared.temporary).run();
    } catch (const Stop& stop) {
        return RecordingError{stop.message};  // the temporary file goes with `prepared`
    }
    prepared.path = prepared.temporary->path();
    return prepared;
}

}  // namespace orvenda::sigmf
