#include "core/export/awv_samples.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace orvenda::exporting {
namespace {

constexpr std::size_t kBlockSamples = 1 << 15;
constexpr std::uint32_t kCodeMask = 0x3fff;

std::uint32_t word(const unsigned char* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

}  // namespace

AwvSampleStream::AwvSampleStream(const std::string& path, const halvik::AwvSummary& summary)
    : descriptor_(::open(path.c_str(), O_RDONLY | O_CLOEXEC)),
      dataOffset_(summary.dataOffset),
      sampleCount_(summary.sampleCount) {
    if (descriptor_ < 0) throw AwvSampleError(0, "cannot open the file: " + std::string(std::strerror(errno)));
}

AwvSampleStream::~AwvSampleStream() { ::close(descriptor_); }

bool AwvSampleStream::next(DecodedBlock& block) {
    if (sample_ >= sampleCount_) return false;
    const std::size_t count = static_cast<std::size_t>(std::min<std::uint64_t>(kBlockSamples, sampleCount_ - sample_));
    const std::uint64_t offset = dataOffset_ + 8 * sample_;
    raw_.resize(8 * count);
    std::size_t done = 0;
    while (done < raw_.size()) {
        ssize_t got = ::pread(descriptor_, raw_.data() + done, raw_.size() - done, static_cast<off_t>(offset + done));
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) throw AwvSampleError(offset + done, "cannot read the file: " + std::string(std::strerror(errno)));
        if (got == 0)
            throw AwvSampleError(offset + done, "the file ends inside the sample block (it changed while it was read)");
        done += static_cast<std::size_t>(got);
    }
    block.firstSample = sample_;
    block.i.resize(count);
    block.q.resize(count);
    block.marker1.resize(count);
    block.marker2.resize(count);
    for (std::size_t k = 0; k < count; ++k) {
        const std::uint32_t a = word(raw_.data() + 8 * k);
        const std::uint32_t b = word(raw_.data() + 8 * k + 4);
        if ((a >> 16) != 0 || (b >> 14) != 0)
            throw AwvSampleError(
                offset + 8 * k + ((a >> 16) != 0 ? 0 : 4),
                "sample " + std::to_string(sample_ + k) + " has bits set above its code and marker bits");
        block.i[k] = valueOfCode(a & kCodeMask);
        block.q[k] = valueOfCode(b & kCodeMask);
        block.marker1[k] = static_cast<std::uint8_t>((a >> 14) & 1);
        block.marker2[k] = static_cast<std::uint8_t>((a >> 15) & 1);
    }
    sample_ += count;
    return true;
}

MarkerRanges::MarkerRanges(const std::string& path, const halvik::AwvSummary& summary, int marker)
    : stream_(path, summary), marker_(marker) {}

std::optional<MarkerRanges::Range> MarkerRanges::next() {
    std::optional<Range> range;
    for (;;) {
        if (position_ == block_.size()) {
            if (ended_ || !stream_.next(block_)) {
                ended_ = true;
                return range;  // a range still open ends with the samples
            }
            position_ = 0;
        }
        const std::vector<std::uint8_t>& levels = marker_ == 1 ? block_.marker1 : block_.marker2;
        for (; position_ < levels.size(); ++position_) {
            const bool high = levels[position_] != 0;
            if (high && !range) range = Range{block_.firstSample + position_, 0};
            if (high) ++range->count;
            if (!high && range) return range;
        }
    }
}

}  // namespace orvenda::exporting
