// Reading the sample words of a checked waveform file by range: the views
// read only what they show.
#ifndef ORVENDA_ENGINE_AWV_RANGE_READER_H
#define ORVENDA_ENGINE_AWV_RANGE_READER_H

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "engine/awv_reader.h"
#include "engine/byte_source.h"

namespace halvik {

class AwvRangeReader {
public:
    // summary is what readAwvFile found for path; nullptr when the file
    // cannot be opened.
    static std::unique_ptr<AwvRangeReader> open(const std::string& path, const AwvSummary& summary);

    // The words (A, B per sample, 2 * count) of samples [first, first + count),
    // which must lie within the sample count. False when the file no longer
    // holds them (it shrank after the check).
    bool read(std::uint64_t first, std::size_t count, std::uint32_t* words);

private:
    AwvRangeReader(std::unique_ptr<FileByteSource> file, std::uint64_t dataOffset, std::uint64_t sampleCount);

    std::unique_ptr<FileByteSource> file_;
    std::uint64_t dataOffset_;
    std::uint64_t sampleCount_;
    std::uint64_t position_ = UINT64_MAX;  // next sample the file is positioned at
};

}  // namespace halvik

#endif
