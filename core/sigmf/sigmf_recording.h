// A SigMF recording as the converter sees it: the datatype, the sampling
// rate and where in the data file the samples lie. Reading checks the
// metadata strictly; every refusal names the file and the field.
#ifndef ORVENDA_CORE_SIGMF_SIGMF_RECORDING_H
#define ORVENDA_CORE_SIGMF_SIGMF_RECORDING_H

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include "core/sigmf/sigmf_datatype.h"

namespace orvenda::sigmf {

// A run of samples that lie one after another in the data file.
struct Segment {
    std::uint64_t byteOffset = 0;
    std::uint64_t sampleCount = 0;
};

struct Capture {
    std::uint64_t sampleStart = 0;  // absolute index (core:offset counts too)
    std::uint64_t headerBytes = 0;  // bytes before this capture's samples
};

// What the metadata says, before the data file is looked at.
struct Metadata {
    Datatype datatype;
    std::optional<double> sampleRate;  // Hz
    std::uint64_t offset = 0;          // core:offset
    std::uint64_t trailingBytes = 0;   // core:trailing_bytes
    std::vector<Capture> captures;     // sorted; never empty
    std::string dataPath;              // the .sigmf-data file (or core:dataset)
};

struct Recording {
    std::string metaPath;
    Metadata meta;
    std::uint64_t dataBytes = 0;
    std::uint64_t sampleCount = 0;
    std::vector<Segment> segments;  // in order, empty ones left out
    // The data file holds the samples and nothing else.
    bool contiguous() const;
};

struct RecordingError {
    std::string message;  // names the file and the field
};

// The meta file of a recording named by either of its files: "X.sigmf-meta"
// or "X.sigmf-data" give "X.sigmf-meta"; any other name is taken as the
// meta file itself.
std::string metaPathOf(const std::string& path);
bool isSigmfFileName(std::string_view path);

// Parses the metadata text of `metaPath` (named in messages; its folder
// locates the data file).
std::variant<Metadata, RecordingError> parseMetadata(std::string_view text, const std::string& metaPath);

// Places the samples in a data file of `dataBytes` bytes.
std::variant<Recording, RecordingError> layOut(Metadata meta, const std::string& metaPath, std::uint64_t dataBytes);

// Reads the meta file and the data file's size.
std::variant<Recording, RecordingError> openRecording(const std::string& path);

}  // namespace orvenda::sigmf

#endif
