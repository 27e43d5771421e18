// Placeholder entry points; the engine replaces them.
#include "halvik_api.h"

extern "C" int32_t Halvik(const char*, const char*, int32_t, int32_t, const MarkerPoint*, const MarkerPoint*,
                          int32_t, double, const ConversionSettings*, const char*) {
    return -1;
}
