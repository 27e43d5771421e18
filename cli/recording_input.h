// A SigMF recording as the input of one conversion: the recording read and
// its samples made ready for the engine (a temporary float file beside the
// output when its datatype needs converting), then loaded as the binary
// load of that layout loads a file. The temporary file lives as long as the
// RecordingInput.
#ifndef ORVENDA_CLI_RECORDING_INPUT_H
#define ORVENDA_CLI_RECORDING_INPUT_H

#include <optional>
#include <string>

#include "cli/input_loading.h"
#include "core/sigmf/engine_samples.h"

namespace orvenda::cli {

struct RecordingInput {
    InputLoad load;  // as the binary load leaves it
    std::optional<sigmf::PreparedSamples> samples;
    std::optional<std::string> fsText;  // the Sampling Freq text from core:sample_rate
};

// `path` names the meta or the data file; `outputFolder` takes the
// temporary file; `fsGiven`: --fs wins over the recording's rate.
RecordingInput loadRecording(const std::string& path, const std::optional<std::string>& dataSizeText,
                             const std::string& outputFolder, bool fsGiven);

}  // namespace orvenda::cli

#endif
