// One conversion from input files to a waveform file: the work behind the
// exported Halvik entry.
#ifndef ORVENDA_ENGINE_CONVERSION_H
#define ORVENDA_ENGINE_CONVERSION_H

#include <cstdint>
#include <string>

#include "common/halvik_api.h"
#include "engine/byte_source.h"

namespace halvik {

inline constexpr int32_t kSuccess = 0;
inline constexpr int32_t kFailure = -1;

struct ConversionRequest {
    std::string iPath;  // a null path from the caller is an empty path
    std::string qPath;
    int32_t inputDataType = 0;
    int32_t inputFileKind = 0;
    const MarkerPoint* marker1 = nullptr;  // null: no change points
    const MarkerPoint* marker2 = nullptr;
    int32_t sampleCount = 0;
    double peakValue = 0.0;
    const ConversionSettings* settings = nullptr;
    std::string outPath;
    int32_t threads = 0;  // 0: HALVIK_THREADS, else one per core
    // The earlier engine, as the benchmark's reference: every IF sample shifted
    // in both passes, text read line by line.
    bool reference = false;
};

// True when the arguments may start a conversion at all: gain in 0..1, a
// sample count whose byte count fits in int32, finite IF parameters and a
// finite carrier phase when converting. Nothing is created for a request that fails this.
bool isAcceptable(const ConversionRequest& request);

// Runs the conversion; 0 when outPath was written completely, -1 otherwise
// (outPath then stays as it was). Inputs are opened through opener.
int32_t convert(const ConversionRequest& request, const SourceOpener& opener = openFileSource);

}  // namespace halvik

#endif
