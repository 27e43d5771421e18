// Readers of the four input layouts, one class per layout, each filling the
// I and/or Q values of one block from a ByteSource. InputSet opens the readers
// that the file kind and data type call for, once per pass. They define what
// each layout reads as: the conversion gathers binary samples through them,
// and its text fast path (chunk_input.h) is checked against them.
#ifndef ORVENDA_ENGINE_SAMPLE_READERS_H
#define ORVENDA_ENGINE_SAMPLE_READERS_H

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "common/halvik_api.h"
#include "engine/byte_source.h"
#include "engine/line_reader.h"

namespace halvik {

class SampleReader {
public:
    virtual ~SampleReader() = default;
    // Reads the next i.size() samples (i and q have equal sizes). A reader
    // writes only the channels its file holds; missing values become 0.0.
    virtual void readBlock(std::span<double> i, std::span<double> q) = 0;
    // For line readers: bytes from the start of the source to the next line,
    // when known.
    virtual std::optional<std::uint64_t> nextLineOffset() const { return std::nullopt; }
};

enum class Channel { I, Q };

// One value per line. After the first missing line the channel stays 0.0.
class SingleColumnTextReader final : public SampleReader {
public:
    SingleColumnTextReader(std::unique_ptr<ByteSource> source, Channel channel);
    void readBlock(std::span<double> i, std::span<double> q) override;
    std::optional<std::uint64_t> nextLineOffset() const override { return lines_.nextLineOffset(); }

private:
    std::unique_ptr<ByteSource> source_;
    LineReader lines_;
    Channel channel_;
    bool ended_ = false;
};

// One sample per line, I and Q as the first two tokens.
class TwoColumnTextReader final : public SampleReader {
public:
    explicit TwoColumnTextReader(std::unique_ptr<ByteSource> source);
    void readBlock(std::span<double> i, std::span<double> q) override;
    std::optional<std::uint64_t> nextLineOffset() const override { return lines_.nextLineOffset(); }

private:
    std::unique_ptr<ByteSource> source_;
    LineReader lines_;
};

// Headerless little-endian pairs of 16-bit integers or 32-bit floats.
// Samples past the end of the data, and an I without its Q, are 0.0.
template <typename Item>
class BinaryPairReader final : public SampleReader {
public:
    explicit BinaryPairReader(std::unique_ptr<ByteSource> source);
    void readBlock(std::span<double> i, std::span<double> q) override;

private:
    std::unique_ptr<ByteSource> source_;
};

using Int16PairReader = BinaryPairReader<int16_t>;
using FloatPairReader = BinaryPairReader<float>;

// The readers of one pass. A channel without a file reads 0.0.
class InputSet {
public:
    // nullopt when a needed file cannot be opened, or the one I/Q file has an
    // unknown data type.
    static std::optional<InputSet> open(const std::string& iPath, const std::string& qPath, int32_t dataType,
                                        int32_t fileKind, const SourceOpener& opener);

    void readBlock(std::span<double> i, std::span<double> q);
    // The next line's offset in each file, in the order the files were
    // opened; nullopt unless every reader reads lines and knows it.
    std::optional<std::vector<std::uint64_t>> nextLineOffsets() const;

private:
    std::vector<std::unique_ptr<SampleReader>> readers_;
    bool readsI_ = false;
    bool readsQ_ = false;
};

}  // namespace halvik

#endif
