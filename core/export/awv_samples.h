// The samples of a checked waveform file, decoded block by block: word A as
// I with the two marker bits, word B as Q, each 14-bit code as the value
// (code - 8192) / 8191 in single precision. Reads the sample block that
// halvik::readAwv located; constant memory.
#ifndef ORVENDA_CORE_EXPORT_AWV_SAMPLES_H
#define ORVENDA_CORE_EXPORT_AWV_SAMPLES_H

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "engine/awv_reader.h"

namespace orvenda::exporting {

// A fault found while reading the samples: the file changed, or a word has
// bits set outside its code and marker bits.
class AwvSampleError : public std::runtime_error {
public:
    AwvSampleError(std::uint64_t offset, const std::string& message)
        : std::runtime_error("byte " + std::to_string(offset) + ": " + message), offset_(offset) {}
    std::uint64_t offset() const { return offset_; }

private:
    std::uint64_t offset_;
};

inline float valueOfCode(std::uint32_t code) {
    return static_cast<float>((static_cast<double>(code) - 8192.0) / 8191.0);
}

struct DecodedBlock {
    std::uint64_t firstSample = 0;
    std::vector<float> i, q;
    std::vector<std::uint8_t> marker1, marker2;
    std::size_t size() const { return i.size(); }
};

class AwvSampleStream {
public:
    // Throws AwvSampleError when the file cannot be opened.
    AwvSampleStream(const std::string& path, const halvik::AwvSummary& summary);
    ~AwvSampleStream();
    AwvSampleStream(const AwvSampleStream&) = delete;
    AwvSampleStream& operator=(const AwvSampleStream&) = delete;

    // The next block; false at the end. Throws AwvSampleError.
    bool next(DecodedBlock& block);

private:
    int descriptor_;
    std::uint64_t dataOffset_;
    std::uint64_t sampleCount_;
    std::uint64_t sample_ = 0;
    std::vector<unsigned char> raw_;
};

// The samples where one marker is high, as [start, start + count) ranges in
// order, found by its own pass over the file.
class MarkerRanges {
public:
    struct Range {
        std::uint64_t start = 0;
        std::uint64_t count = 0;
    };
    MarkerRanges(const std::string& path, const halvik::AwvSummary& summary, int marker);
    // The next range, nothing after the last. Throws AwvSampleError.
    std::optional<Range> next();

private:
    AwvSampleStream stream_;
    int marker_;
    DecodedBlock block_;
    std::size_t position_ = 0;
    bool ended_ = false;
};

}  // namespace orvenda::exporting

#endif
