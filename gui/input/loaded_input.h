// What the last loads left for the transform commands: which files, their
// layout, the sample count and the largest magnitudes. Samples are never kept.
#ifndef ORVENDA_GUI_INPUT_LOADED_INPUT_H
#define ORVENDA_GUI_INPUT_LOADED_INPUT_H

#include <cstdint>
#include <string>

namespace orvenda::input {

// InputFileKind bits and values.
inline constexpr int32_t kIFileChosen = 1;
inline constexpr int32_t kQFileChosen = 2;
inline constexpr int32_t kOneIQFile = 4;

// InputDataType values.
inline constexpr int32_t kNoData = 0;
inline constexpr int32_t kTextData = 1;
inline constexpr int32_t kBinaryShortData = 2;
inline constexpr int32_t kBinaryFloatData = 3;

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
