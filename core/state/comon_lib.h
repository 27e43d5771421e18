// ComonLib: the program-wide state of the GUI, in one place. One instance is
// created by main() (tests create their own) and handed by reference to the
// windows; nothing else is global.
//
//   input     - loaded-input state: written by the loads, read by the
//               transform commands (which may replace DataSize).
//   markers   - marker point lists and counters: written by marker files,
//               the marker editor; read by the transform commands.
//   sequence  - SeqModeInternal / SeqModeLink of the settings panel.
#ifndef ORVENDA_GUI_MAIN_WINDOW_COMON_LIB_H
#define ORVENDA_GUI_MAIN_WINDOW_COMON_LIB_H

#include "core/input/loaded_input.h"
#include "core/markers/marker_store.h"
#include "core/settings/sequence_memory.h"

namespace orvenda {

struct ComonLib {
    input::LoadedInput input;
    markers::MarkerStore markers;
    settings::SequenceMemory sequence;
};

}  // namespace orvenda

#endif
