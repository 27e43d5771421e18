#include "core/input/binary_pair_reader.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>
#include <vector>

namespace orvenda::input {
namespace {

template <class T>
inline T loadLittleEndian(const unsigned char* p) {
    T value;
    std::memcpy(&value, p, sizeof value);
    if constexpr (std::endian::native == std::endian::big) {
        if constexpr (sizeof(T) == 2)
            value = static_cast<T>(__builtin_bswap16(static_cast<uint16_t>(value)));
        else
            value = static_cast<T>(__builtin_bswap32(static_cast<uint32_t>(value)));
    }
    return value;
}

// int16 pairs: magnitudes in int32, wide enough for |-32768|.
struct ShortPairs {
    static constexpr std::size_t kRecordBytes = 4;
    int32_t peakI = 0;
    int32_t peakQ = 0;

    // Takes `records` records into the peaks; returns the index of the first
    // record holding a value that is not finite, or `records` when none does.
    std::size_t take(const unsigned char* data, std::size_t records) {
        int32_t mi = peakI;
        int32_t mq = peakQ;
        for (std::size_t r = 0; r < records; ++r) {
            const int32_t i = loadLittleEndian<int16_t>(data + 4 * r);
            const int32_t q = loadLittleEndian<int16_t>(data + 4 * r + 2);
            mi = std::max(mi, i < 0 ? -i : i);
            mq = std::max(mq, q < 0 ? -q : q);
        }
        peakI = mi;
        peakQ = mq;
        return records;
    }
    double peakIValue() const { return peakI; }
    double peakQValue() const { return peakQ; }
};

// float pairs: for finite floats, the order of the magnitudes is the order of
// their bit patterns without the sign bit, and every NaN or infinity lies at
// or above the pattern of infinity. So the peaks and the finiteness check are
// one integer maximum per channel, which the compiler vectorises.
struct FloatPairs {
    static constexpr std::size_t kRecordBytes = 8;
    static constexpr uint32_t kMagnitudeBits = 0x7fffffffu;
    static constexpr uint32_t kInfinityBits = 0x7f800000u;
    uint32_t peakI = 0;
    uint32_t peakQ = 0;

    std::size_t take(const unsigned char* data, std::size_t records) {
        uint32_t mi = peakI;
        uint32_t mq = peakQ;
        for (std::size_t r = 0; r < records; ++r) {
            mi = std::max(mi, loadLittleEndian<uint32_t>(data + 8 * r) & kMagnitudeBits);
            mq = std::max(mq, loadLittleEndian<uint32_t>(data + 8 * r + 4) & kMagnitudeBits);
        }
        if (mi < kInfinityBits && mq < kInfinityBits) {
            peakI = mi;
            peakQ = mq;
            return records;
        }
        for (std::size_t r = 0;; ++r)
            if ((loadLittleEndian<uint32_t>(data + 8 * r) & kMagnitudeBits) >= kInfinityBits ||
                (loadLittleEndian<uint32_t>(data + 8 * r + 4) & kMagnitudeBits) >= kInfinityBits)
                return r;
    }
    double peakIValue() const { return std::bit_cast<float>(peakI); }
    double peakQValue() const { return std::bit_cast<float>(peakQ); }
};

template <class Pairs>
ScanOutcome readPairs(halvik::ByteSource& source, RecordTally& tally, std::size_t chunkBytes) {
    constexpr std::size_t kRecord = Pairs::kRecordBytes;
    std::vector<unsigned char> buffer(std::max<std::size_t>(chunkBytes / kRecord, 1) * kRecord);
    Pairs pairs;
    std::size_t filled = 0;
    // Takes whole records from the front of the buffer; false when reading ends.
    const auto take = [&](std::size_t records, ScanOutcome& outcome) {
        std::size_t done = 0;
        while (done < records) {
            const int64_t left = static_cast<int64_t>(records - done);
            const std::size_t step = static_cast<std::size_t>(std::min(left, tally.recordsUntilCheck()));
            const std::size_t good = pairs.take(buffer.data() + done * kRecord, step);
            if (good != step) {
                outcome.error = ScanError{ScanFault::NotFinite, tally.count() + static_cast<int64_t>(good) + 1, {}};
                return false;
            }
            done += step;
            if (!tally.addMany(static_cast<int64_t>(step))) return false;
        }
        return true;
    };
    ScanOutcome outcome;
    for (;;) {
        const std::size_t got = readBytes(source, buffer.data() + filled, buffer.size() - filled);
        if (source.error() != 0) {
            outcome.error = ScanError{ScanFault::ReadFailed, tally.count() + 1, readErrorText(source)};
            return outcome;
        }
        filled += got;
        const std::size_t whole = filled / kRecord;
        if (!take(whole, outcome)) break;
        const std::size_t rest = filled - whole * kRecord;
        std::memmove(buffer.data(), buffer.data() + whole * kRecord, rest);
        filled = rest;
        if (got == 0) {
            if (rest != 0) {
                std::memset(buffer.data() + rest, 0, kRecord - rest);
                take(1, outcome);
            }
            break;
        }
    }
    if (outcome.ok()) outcome.result = tally.finish(pairs.peakIValue(), pairs.peakQValue());
    return outcome;
}

}  // namespace

ScanOutcome readShortPairs(halvik::ByteSource& source, RecordTally& tally, std::size_t chunkBytes) {
    return readPairs<ShortPairs>(source, tally, chunkBytes);
}

ScanOutcome readFloatPairs(halvik::ByteSource& source, RecordTally& tally, std::size_t chunkBytes) {
    return readPairs<FloatPairs>(source, tally, chunkBytes);
}

}  // namespace orvenda::input
