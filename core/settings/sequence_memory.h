// The output-sequence option last chosen under each start-trigger source, so
// that switching the source back restores it.
#ifndef ORVENDA_GUI_SETTINGS_SEQUENCE_MEMORY_H
#define ORVENDA_GUI_SETTINGS_SEQUENCE_MEMORY_H

#include <cstdint>

namespace orvenda::settings {

struct SequenceMemory {
    int32_t SeqModeInternal = 0;  // 0 Continuous, 1 Single
    int32_t SeqModeLink = 0;      // 0 Continuous, 1 Single, 2 Gated
};

}  // namespace orvenda::settings

#endif
