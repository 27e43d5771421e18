// The loads the program runs before a transform, done without windows: the
// inputs of one waveform file scanned as the load commands scan them, and
// the marker data files stored as "Load Marker1/2" store them. The state left
// behind is exactly what the transform commands read in the program.
#ifndef ORVENDA_CLI_INPUT_LOADING_H
#define ORVENDA_CLI_INPUT_LOADING_H

#include <optional>
#include <string>
#include <vector>

#include "cli/convert_options.h"
#include "core/input/loaded_input.h"
#include "core/markers/marker_store.h"

namespace orvenda::cli {

struct InputLoad {
    input::LoadedInput state;
    std::vector<std::string> warnings;  // the loads' messages, with the file's name
    std::optional<std::string> error;   // a file that cannot be read as its layout
};

// From a freshly started program: the I text load, then the Q text load, or
// the one load of the I/Q file. `dataSizeText` is the "Specify Data Size"
// text when that box is checked.
InputLoad loadInputs(const ConversionInputs& inputs, InputFormat format,
                     const std::optional<std::string>& dataSizeText);

struct MarkerLoad {
    markers::MarkerStore store;
    std::vector<std::string> warnings;
    std::optional<std::string> error;
};

// Stores the marker lists of --settings, then loads the plan's marker files
// over them and switches the marker
// output on in plan.panel as loading a file with points does: the marker's
// ON box, the marker mode, and "Manual Edit" unless --marker-mode was given.
MarkerLoad loadMarkers(ConvertPlan& plan);

// What the engine will make of a change-point list it only walks forward:
// it consults the first HALVIK_MARKER_ENTRIES_WALKED entries and stops at a Pos that does not rise.
std::vector<std::string> markerListWarnings(const std::vector<MarkerPoint>& points, markers::MarkerNumber marker);

}  // namespace orvenda::cli

#endif
