// Reading a waveform file back: checks its structure byte by byte and sums up
// its settings and samples. Used by the command line's "info" and by tests
// that look inside written files. Any bytes are safe to pass: a file that does
// not follow the format gives an error naming the byte offset of the fault.
#ifndef ORVENDA_ENGINE_AWV_READER_H
#define ORVENDA_ENGINE_AWV_READER_H

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <variant>
#include <vector>

#include "engine/byte_source.h"

namespace halvik {

// Change points kept per marker; later ones are only counted.
inline constexpr std::size_t kAwvChangePointsKept = 16;
// A longer header line is taken for garbage rather than read on.
inline constexpr std::size_t kAwvMaxLineLength = 1024;

struct AwvHeaderLine {
    std::uint64_t offset = 0;  // of its "{"
    std::string key;
    std::vector<std::string> fields;
};

struct AwvNumberPair {
    double first = 0.0;
    double second = 0.0;
};

struct AwvStartTrigger {
    std::string source;    // INT, LINK
    std::string polarity;  // POS, NEG
};

struct AwvOutputSequence {
    std::string mode;        // CONT, SINGL, SINGLE, GATE
    std::int32_t loops = 0;  // SINGL and SINGLE
    std::string gate;        // EDGE, LEV with GATE
};

struct AwvMarkerLine {
    std::string state;     // ON, OFF
    std::string polarity;  // POS, NEG
    std::array<std::int32_t, 4> params{};
};

// The settings the header carries; a setting without its line stays empty.
struct AwvSettings {
    std::optional<std::string> date;      // YYYY/MM/DD
    std::optional<std::string> time;      // HH:MM:SS
    std::optional<std::string> iqFilter;  // FLT2_5M, FLT50M, THR
    std::optional<std::string> iqOutput;  // FIX, VAR, OFF
    std::optional<AwvNumberPair> iqGain;
    std::optional<AwvNumberPair> iqOffset;
    std::optional<AwvStartTrigger> startTrigger;
    std::optional<AwvOutputSequence> outputSequence;
    std::optional<double> samplingFrequency;  // Hz
    std::optional<AwvMarkerLine> marker1;
    std::optional<AwvMarkerLine> marker2;
    std::optional<std::string> markerMode;  // WFM, SEQ
};

// The 14-bit codes of one sample word (A: first word, B: second).
struct AwvCodeStats {
    std::uint32_t minCode = 0;  // both 0 when there are no samples
    std::uint32_t maxCode = 0;
    std::uint64_t atNegativeFullScale = 0;  // code 1
    std::uint64_t atPositiveFullScale = 0;  // code 16383
    // Words with bits set above their code and marker bits; a writer that
    // does not clip leaves these behind.
    std::uint64_t wordsWithStrayBits = 0;
};

struct AwvChangePoint {
    std::uint64_t sample = 0;
    int level = 0;
};

// The marker as the level it has from each change point on, starting from
// level 0 before sample 0, as a marker list would describe it.
struct AwvMarkerStats {
    std::uint64_t highSamples = 0;
    std::uint64_t changeCount = 0;
    std::vector<AwvChangePoint> firstChanges;  // at most kAwvChangePointsKept
};

struct AwvSummary {
    std::vector<AwvHeaderLine> lines;  // in file order, WAVEDATA not included
    AwvSettings settings;
    std::uint64_t dataOffset = 0;  // first byte of the sample block
    std::uint64_t sampleCount = 0;
    std::uint64_t fileSize = 0;
    AwvCodeStats wordA;  // I, or Q when the writer inverted I and Q
    AwvCodeStats wordB;
    AwvMarkerStats marker1;  // bit 14 of word A
    AwvMarkerStats marker2;  // bit 15 of word A
};

struct AwvError {
    std::uint64_t offset = 0;
    std::string message;
    bool located = true;  // false when the file could not be read at all
    // "byte <offset>: <message>", or the message alone when not located.
    std::string describe() const;
};

using AwvReadResult = std::variant<AwvSummary, AwvError>;

AwvReadResult readAwv(ByteSource& source);
AwvReadResult readAwv(std::span<const std::byte> bytes);
// A file that cannot be opened gives an error at offset 0 naming the path.
AwvReadResult readAwvFile(const std::string& path);

// The header lines and the WAVEDATA count only (sampleCount from the count);
// the sample block is not read, so the statistics stay empty.
AwvReadResult readAwvHeader(ByteSource& source);
AwvReadResult readAwvHeaderFile(const std::string& path);

}  // namespace halvik

#endif
