// What the last loads left for the transform commands: which files, their
// layout, the sample count and the largest magnitudes. Samples are never kept.
#ifndef ORVENDA_GUI_INPUT_LOADED_INPUT_H
#define ORVENDA_GUI_INPUT_LOADED_INPUT_H

#include <cstdint>
#include <string>

#include "common/halvik_api.h"

namespace orvenda::input {

struct LoadedInput {
    int32_t SelFileType = 0;    // index of the "File Type" list, 0..3
    int32_t InputFileKind = 0;  // bit set of HALVIK_KIND_I_FILE, HALVIK_KIND_Q_FILE, or HALVIK_KIND_IQ_FILE
    int32_t InputDataType = 0;  // HALVIK_TYPE_NONE .. HALVIK_TYPE_FLOAT_PAIRS
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
