// Where the views' samples come from: the codes a conversion writes, decoded.
// A source knows its length and sampling frequency and opens cursors that read
// any range of samples into a caller's block; nothing holds a whole file.
#ifndef ORVENDA_CORE_ANALYSIS_SAMPLE_SOURCE_H
#define ORVENDA_CORE_ANALYSIS_SAMPLE_SOURCE_H

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace orvenda::analysis {

// Sample values are 14-bit codes minus the zero code 8192, so full scale is
// +-8191 (codes 1 and 16383); a decoded value is that number / kFullScaleCode.
inline constexpr int kFullScaleCode = 8191;
inline constexpr double kFullScale = 8191.0;

// Marker bits of SampleBlock::markers and EnvelopeColumn.
inline constexpr std::uint8_t kMarker1 = 0x1;  // bit 14 of word A
inline constexpr std::uint8_t kMarker2 = 0x2;  // bit 15 of word A

// A range of samples, structure of arrays; all vectors have size() entries
// except exactI/exactQ, which are empty when the source cannot know them.
struct SampleBlock {
    std::vector<std::int16_t> i;        // word A code - 8192 (-8192 .. 8191)
    std::vector<std::int16_t> q;        // word B code - 8192
    std::vector<std::uint8_t> markers;  // kMarker1 | kMarker2 per sample
    // The scaled value before truncation and clipping, in the same units as
    // i and q (value / peak * gain * 8191); only sources with hasExactValues().
    std::vector<double> exactI;
    std::vector<double> exactQ;

    std::size_t size() const { return i.size(); }
    // Sizes every vector for count samples (exact ones only when withExact).
    void resize(std::size_t count, bool withExact);
};

// Reads ranges of one source; one cursor per thread. Reads that continue
// where the previous one ended are the fastest; any other range is allowed.
class SampleCursor {
public:
    virtual ~SampleCursor() = default;
    // Fills block with samples [first, first + count) (block is resized to
    // count). first + count must not exceed the source's size(). False on a
    // read error (then error() says what went wrong).
    virtual bool read(std::uint64_t first, std::size_t count, SampleBlock& block) = 0;
    virtual std::string error() const = 0;
};

class SampleSource {
public:
    virtual ~SampleSource() = default;
    virtual std::uint64_t size() const = 0;        // samples
    virtual double samplingFrequency() const = 0;  // Hz; 0 when not known
    virtual bool isComplex() const = 0;            // false: Q is 0 throughout (a real IF output)
    virtual bool hasMarkers() const = 0;           // false: every marker bit is 0
    virtual bool hasExactValues() const = 0;       // SampleBlock::exactI/exactQ are filled
    // A new cursor; safe to call from several threads at once.
    virtual std::unique_ptr<SampleCursor> openCursor() const = 0;
};

// Reads [first, first + count) through a fresh cursor; false with *error set
// (when error is not null) on failure. For one-off reads such as the samples
// of a zoomed-in view.
bool readSamples(const SampleSource& source, std::uint64_t first, std::size_t count, SampleBlock& block,
                 std::string* error = nullptr);

}  // namespace orvenda::analysis

#endif
