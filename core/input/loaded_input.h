// What the last loads left for the transform commands: which files, their
// layout, the sample count and the largest magnitudes. Samples are never kept.
#ifndef ORVENDA_GUI_INPUT_LOADED_INPUT_H
#define ORVENDA_GUI_INPUT_LOADED_INPUT_H

#include <cstdint>
#include <string>

#include "common/halvik_api.h"

namespace orvenda::input {

// InputFileKind bits and values, as the engine takes them.
inline constexpr int32_t kIFileChosen = HALVIK_KIND_I_FILE;
inline constexpr int32_t kQFileChosen = HALVIK_KIND_Q_FILE;
inline constexpr int32_t kOneIQFile = HALVIK_KIND_IQ_FILE;

// InputDataType values.
inline constexpr int32_t kNoData = 0;
inline constexpr int32_t kTextData = HALVIK_TYPE_TEXT;
inline constexpr int32_t kBinaryShortData = HALVIK_TYPE_INT16_PAIRS;
inline constexpr int32_t kBinaryFloatData = HALVIK_TYPE_FLOAT_PAIRS;

struct LoadedInput {
    int32_t SelFileType = 0;    // index of the "File Type" list, 0..3
    int32_t InputFileKind = 0;  // bit set of kIFileChosen, kQFileChosen, or kOneIQFile
    int32_t InputDataType = 0;  // kNoData .. kBinaryFloatData
    // Paths in the file system's own narrow encoding, ready for the engine.
    std::string IQFilePath;
    std::string IFilePath;
    std::string QFilePath;
    int32_t DataSize = 0;  // samples
    double PeakI = 0.0;
    double PeakQ = 0.0;
};

}  // namespace orvenda::input

#endif
