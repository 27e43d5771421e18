// The waveform file reader behind "orvenda-cli info". Any bytes give either a
// summary or an error with a byte offset inside the file; a summary must
// agree with the bytes: the block sits where it says, the statistics match a
// slow count over the sample words.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <variant>
#include <vector>

#include "engine/awv_reader.h"
#include "fuzz/fuzz_check.h"

using namespace orvenda::fuzz;

namespace {

uint32_t word(const uint8_t* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t{p[3]} << 24); }

void checkCodes(const halvik::AwvCodeStats& stats, uint64_t samples, const char* which) {
    FUZZ_CHECK(stats.maxCode <= 0x3fff && stats.minCode <= stats.maxCode, "word %s codes %u..%u", which, stats.minCode,
               stats.maxCode);
    FUZZ_CHECK(stats.atNegativeFullScale <= samples && stats.atPositiveFullScale <= samples &&
                   stats.wordsWithStrayBits <= samples,
               "word %s counts beyond %llu samples", which, static_cast<unsigned long long>(samples));
}

void checkMarker(const halvik::AwvMarkerStats& stats, const std::vector<uint32_t>& a, int bit, const char* which) {
    uint64_t high = 0;
    uint64_t changes = 0;
    int level = 0;
    std::vector<halvik::AwvChangePoint> first;
    for (std::size_t k = 0; k < a.size(); ++k) {
        const int now = static_cast<int>((a[k] >> bit) & 1);
        high += static_cast<uint64_t>(now);
        if (now != level) {
            ++changes;
            if (first.size() < halvik::kAwvChangePointsKept) first.push_back({k, now});
            level = now;
        }
    }
    FUZZ_CHECK(stats.highSamples == high && stats.changeCount == changes,
               "%s: %llu high, %llu changes; counted %llu, %llu", which,
               static_cast<unsigned long long>(stats.highSamples), static_cast<unsigned long long>(stats.changeCount),
               static_cast<unsigned long long>(high), static_cast<unsigned long long>(changes));
    FUZZ_CHECK(stats.firstChanges.size() == first.size(), "%s: %zu change points kept, expected %zu", which,
               stats.firstChanges.size(), first.size());
    for (std::size_t k = 0; k < first.size(); ++k)
        FUZZ_CHECK(stats.firstChanges[k].sample == first[k].sample && stats.firstChanges[k].level == first[k].level,
                   "%s: change point %zu differs", which, k);
}

void checkSummary(const halvik::AwvSummary& s, const uint8_t* data, std::size_t size) {
    FUZZ_CHECK(s.fileSize == size, "file size %llu of %zu bytes", static_cast<unsigned long long>(s.fileSize), size);
    FUZZ_CHECK(s.sampleCount <= size / 8, "%llu samples in %zu bytes", static_cast<unsigned long long>(s.sampleCount),
               size);
    FUZZ_CHECK(s.dataOffset + 8 * s.sampleCount + 1 == size, "block at %llu, %llu samples, %zu bytes",
               static_cast<unsigned long long>(s.dataOffset), static_cast<unsigned long long>(s.sampleCount), size);
    FUZZ_CHECK(data[size - 1] == '}' && data[s.dataOffset - 1] == ';', "block not framed by ';' and '}'");
    // The WAVEDATA count, in decimal right before the block, states its size.
    const std::string expectedRecord = "{WAVEDATA:" + std::to_string(8 * s.sampleCount) + ";";
    FUZZ_CHECK(s.dataOffset >= expectedRecord.size() && std::equal(expectedRecord.begin(), expectedRecord.end(),
                                                                   data + s.dataOffset - expectedRecord.size()),
               "the record before the block is not \"%s\"", expectedRecord.c_str());
    uint64_t previous = 0;
    for (std::size_t k = 0; k < s.lines.size(); ++k) {
        const halvik::AwvHeaderLine& line = s.lines[k];
        FUZZ_CHECK(line.offset < s.dataOffset && (k == 0 || line.offset > previous) && data[line.offset] == '{',
                   "header line %zu at %llu", k, static_cast<unsigned long long>(line.offset));
        FUZZ_CHECK(line.key != "WAVEDATA" && !line.fields.empty(), "header line %zu", k);
        previous = line.offset;
    }
    FUZZ_CHECK(s.lines.empty() ? s.dataOffset == expectedRecord.size()
                               : data[s.dataOffset - expectedRecord.size() - 1] == '\n',
               "the WAVEDATA record does not follow a line feed");
    const halvik::AwvSettings& set = s.settings;
    if (set.iqGain) FUZZ_CHECK(std::isfinite(set.iqGain->first) && std::isfinite(set.iqGain->second), "gain");
    if (set.iqOffset) FUZZ_CHECK(std::isfinite(set.iqOffset->first) && std::isfinite(set.iqOffset->second), "offset");
    if (set.samplingFrequency) FUZZ_CHECK(std::isfinite(*set.samplingFrequency), "sampling frequency");

    checkCodes(s.wordA, s.sampleCount, "A");
    checkCodes(s.wordB, s.sampleCount, "B");
    std::vector<uint32_t> a(s.sampleCount);
    uint32_t minA = 0x4000, maxA = 0, minB = 0x4000, maxB = 0;
    uint64_t strayA = 0, strayB = 0, fullA = 0, fullB = 0;
    for (uint64_t k = 0; k < s.sampleCount; ++k) {
        const uint8_t* sample = data + s.dataOffset + 8 * k;
        a[k] = word(sample);
        const uint32_t b = word(sample + 4);
        minA = std::min(minA, a[k] & 0x3fff);
        maxA = std::max(maxA, a[k] & 0x3fff);
        minB = std::min(minB, b & 0x3fff);
        maxB = std::max(maxB, b & 0x3fff);
        strayA += (a[k] >> 16) != 0;
        strayB += (b >> 14) != 0;
        fullA += (a[k] & 0x3fff) == 16383;
        fullB += (b & 0x3fff) == 16383;
    }
    if (s.sampleCount == 0) minA = minB = 0;
    FUZZ_CHECK(s.wordA.minCode == minA && s.wordA.maxCode == maxA && s.wordA.wordsWithStrayBits == strayA &&
                   s.wordA.atPositiveFullScale == fullA,
               "word A statistics differ from a slow count");
    FUZZ_CHECK(s.wordB.minCode == minB && s.wordB.maxCode == maxB && s.wordB.wordsWithStrayBits == strayB &&
                   s.wordB.atPositiveFullScale == fullB,
               "word B statistics differ from a slow count");
    checkMarker(s.marker1, a, 14, "marker 1");
    checkMarker(s.marker2, a, 15, "marker 2");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    // An exact-size copy, so a read past the end is caught.
    std::vector<std::byte> bytes(reinterpret_cast<const std::byte*>(data),
                                 reinterpret_cast<const std::byte*>(data) + size);
    const halvik::AwvReadResult result = halvik::readAwv(std::span<const std::byte>(bytes));
    if (const auto* error = std::get_if<halvik::AwvError>(&result)) {
        FUZZ_CHECK(error->located && error->offset <= size, "error at byte %llu of %zu: %s",
                   static_cast<unsigned long long>(error->offset), size, error->message.c_str());
        FUZZ_CHECK(!error->message.empty(), "error without a message");
        FUZZ_CHECK(error->describe().starts_with("byte " + std::to_string(error->offset) + ": "), "describe()");
        return 0;
    }
    checkSummary(std::get<halvik::AwvSummary>(result), data, size);
    return 0;
}
