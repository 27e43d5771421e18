// The SigMF metadata reader and the sample layout, over bytes in memory. Any
// text gives a recording or a refusal naming the meta or data file; a
// recording's segments must lie inside the data file in order, hold every
// sample once and leave out exactly the header and trailing bytes.
#include <cstddef>
#include <cstdint>
#include <string>
#include <variant>

#include <fuzzer/FuzzedDataProvider.h>

#include "core/sigmf/sigmf_recording.h"
#include "fuzz/fuzz_check.h"

namespace sigmf = orvenda::sigmf;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider provider(data, size);
    const std::uint64_t dataBytes = provider.ConsumeIntegralInRange<std::uint64_t>(0, std::uint64_t{1} << 40);
    const std::string text = provider.ConsumeRemainingBytesAsString();
    const std::string metaPath = "f/r.sigmf-meta";
    auto parsed = sigmf::parseMetadata(text, metaPath);
    if (auto* error = std::get_if<sigmf::RecordingError>(&parsed)) {
        FUZZ_CHECK(error->message.rfind(metaPath + ": ", 0) == 0, "refusal without the file: %s",
                   error->message.c_str());
        return 0;
    }
    const sigmf::Metadata meta = std::get<sigmf::Metadata>(parsed);
    FUZZ_CHECK(!meta.captures.empty(), "no capture");
    FUZZ_CHECK(meta.datatype.complex, "a real datatype accepted");
    auto laid = sigmf::layOut(meta, metaPath, dataBytes);
    if (auto* error = std::get_if<sigmf::RecordingError>(&laid)) {
        const bool named =
            error->message.rfind(metaPath + ": ", 0) == 0 || error->message.rfind(meta.dataPath + ": ", 0) == 0;
        FUZZ_CHECK(named, "refusal without the file: %s", error->message.c_str());
        return 0;
    }
    const sigmf::Recording& recording = std::get<sigmf::Recording>(laid);
    const std::uint64_t sampleBytes = meta.datatype.sampleBytes();
    std::uint64_t samples = 0;
    std::uint64_t end = 0;
    for (const sigmf::Segment& segment : recording.segments) {
        FUZZ_CHECK(segment.sampleCount > 0, "an empty segment");
        FUZZ_CHECK(segment.byteOffset >= end, "segments overlap or go back");
        end = segment.byteOffset + segment.sampleCount * sampleBytes;
        FUZZ_CHECK(end <= dataBytes - meta.trailingBytes, "a segment beyond the samples");
        samples += segment.sampleCount;
    }
    FUZZ_CHECK(samples == recording.sampleCount, "segments hold %llu of %llu samples",
               static_cast<unsigned long long>(samples), static_cast<unsigned long long>(recording.sampleCount));
    std::uint64_t skipped = meta.trailingBytes;
    for (const sigmf::Capture& capture : meta.captures) skipped += capture.headerBytes;
    FUZZ_CHECK(skipped + samples * sampleBytes == dataBytes, "bytes unaccounted for");
    return 0;
}
