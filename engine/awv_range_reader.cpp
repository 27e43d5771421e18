#include "engine/awv_range_reader.h"

#include <bit>
#include <span>

namespace halvik {

static_assert(std::endian::native == std::endian::little, "sample words are stored little-endian");

std::unique_ptr<AwvRangeReader> AwvRangeReader::open(const std::string& path, const AwvSummary& summary) {
    std::unique_ptr<FileByteSource> file = FileByteSource::open(path);
    if (!file) return nullptr;
    return std::unique_ptr<AwvRangeReader>(
        new AwvRangeReader(std::move(file), summary.dataOffset, summary.sampleCount));
}

AwvRangeReader::AwvRangeReader(std::unique_ptr<FileByteSource> file, std::uint64_t dataOffset,
                               std::uint64_t sampleCount)
    : file_(std::move(file)), dataOffset_(dataOffset), sampleCount_(sampleCount) {}

bool AwvRangeReader::read(std::uint64_t first, std::size_t count, std::uint32_t* words) {
    if (first > sampleCount_ || count > sampleCount_ - first) return false;
    if (first != position_) {
        if (!file_->seek(dataOffset_ + 8 * first)) return false;
        position_ = first;
    }
    std::span<std::byte> bytes(reinterpret_cast<std::byte*>(words), count * 8);
    std::size_t got = file_->read(bytes);
    position_ += got / 8;
    if (got != bytes.size()) {
        position_ = UINT64_MAX;
        return false;
    }
    return true;
}

}  // namespace halvik
