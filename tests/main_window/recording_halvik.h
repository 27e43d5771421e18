// A stand-in engine for the window tests: a shared library exporting Halvik
// that records its arguments and what the window looked like during the call.
#ifndef ORVENDA_TESTS_MAIN_WINDOW_RECORDING_HALVIK_H
#define ORVENDA_TESTS_MAIN_WINDOW_RECORDING_HALVIK_H

#include <cstdint>
#include <string>

#include "common/halvik_api.h"

struct RecordedHalvikCall {
    int calls = 0;
    std::string iPath;
    std::string qPath;
    int32_t inputDataType = 0;
    int32_t inputFileKind = 0;
    const MarkerPoint* marker1 = nullptr;
    const MarkerPoint* marker2 = nullptr;
    int32_t sampleCount = 0;
    double peakValue = 0.0;
    ConversionSettings settings{};
    std::string outPath;
    bool busyPointer = false;      // the wait cursor was set
    bool baseBandEnabled = false;  // BtnTransform
    bool ifEnabled = false;        // BtnTransIF
    int32_t result = 0;            // what the next call returns
};

// Exported by the stand-in: the record of the last call (and the next result).
using RecordedHalvikAccess = RecordedHalvikCall* (*)();
inline const char kRecordedHalvikAccessName[] = "RecordedHalvik";

#endif
