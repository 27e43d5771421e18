// The header lines of a conversion, derived from its settings record.
#ifndef ORVENDA_ENGINE_HALVIK_HEADER_H
#define ORVENDA_ENGINE_HALVIK_HEADER_H

#include <cstdint>
#include <ctime>
#include <string>

#include "common/halvik_api.h"

namespace halvik {

struct HeaderResult {
    std::string text;  // the lines up to the first bad setting
    bool complete;     // false when a setting held a value outside its list
};

// "{DATE:YYYY/MM/DD;HH:MM:SS}\n" from a local time.
std::string dateLine(const std::tm& localTime);

// DATE, IQFILTER, IQOUTPUT (+IQGAIN), IQOFFSET, STARTTRIGGER, OUTPUTSEQUENCE,
// SAMPLINGFREQ, MARKER1, MARKER2, MARKERMODE; -1 leaves a line out.
HeaderResult conversionHeader(const ConversionSettings& settings, int32_t sampleCount, const std::tm& localTime);

}  // namespace halvik

#endif
