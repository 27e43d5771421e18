// Turning a SigMF recording into a file the engine reads: cf32_le and ci16_le
// data without header or trailing bytes go to the engine as they are; every
// other recording is converted in one streaming pass into a temporary file
// of the engine's float layout (or its 16-bit layout for ci16_be), which
// lives as long as the PreparedSamples that owns it.
//
// Values of the float file: cu8 (v - 128) / 128, ci8 v / 128, cu16
// (v - 32768) / 32768, ci32 v / 2^31, cu32 (v - 2^31) / 2^31, cf64 the
// nearest float, cf32_be as it is. Every scale is a power of two, so the
// engine, which divides by the largest magnitude, makes the same codes as
// from the unscaled integers.
#ifndef ORVENDA_CORE_SIGMF_ENGINE_SAMPLES_H
#define ORVENDA_CORE_SIGMF_ENGINE_SAMPLES_H

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <variant>

#include "core/cleanup/temporary_file.h"
#include "core/input/load_commands.h"
#include "core/sigmf/sigmf_recording.h"

namespace orvenda::sigmf {

struct PreparedSamples {
    std::string path;                                   // the file the engine reads
    input::LoadCommand command;                         // BinaryShort or BinaryFloat
    std::uint64_t sampleCount = 0;                      // in that file
    std::unique_ptr<cleanup::TemporaryFile> temporary;  // when converted
};

struct PrepareOptions {
    // Folder of the temporary file; the system's temporary folder when empty.
    std::string temporaryFolder;
    // Samples beyond this are not converted (the load would not take them).
    std::uint64_t sampleLimit = UINT64_MAX;
    // Called now and then with the samples done; returning false cancels.
    std::function<bool(std::uint64_t done, std::uint64_t total)> onProgress;
};

// The layout the engine gets for a datatype.
input::LoadCommand engineCommandOf(const Datatype& type);

std::variant<PreparedSamples, RecordingError> prepareForEngine(const Recording& recording,
                                                               const PrepareOptions& options = {});

}  // namespace orvenda::sigmf

#endif
