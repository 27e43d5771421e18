// What a transform command hands to Halvik, built from the raw values of the
// settings panel, the loaded-input state and the command kind. Plain C++: the
// window takes the snapshot, the command line builds the same request itself.
#ifndef ORVENDA_GUI_MAIN_WINDOW_SETTINGS_RECORD_H
#define ORVENDA_GUI_MAIN_WINDOW_SETTINGS_RECORD_H

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "common/halvik_api.h"
#include "core/input/loaded_input.h"
#include "core/settings/panel_snapshot.h"

namespace orvenda {

enum class TransformKind { BaseBand, IF };

// Everything a command reads when it runs.
struct TransformRequest {
    TransformKind kind = TransformKind::BaseBand;
    settings::PanelSnapshot panel;
    bool specifyDataSize = false;  // ChkSpecSize
    std::string dataSizeText;      // TxtDataSizeI
    input::LoadedInput input;
};

// The arguments of Halvik apart from the marker arrays and the output path,
// which the caller owns.
struct HalvikArguments {
    std::string iPath;
    std::string qPath;
    int32_t inputDataType = 0;
    int32_t inputFileKind = 0;
    int32_t sampleCount = 0;
    double peakValue = 0.0;
    ConversionSettings settings{};
};

// A value the command cannot use: the control's name and a message for the user.
struct FieldProblem {
    std::string field;  // "TxtFs", "TxtAWGGain", ...
    std::string message;
};

struct TransformPlan {
    // The DataSize that the "Specify Data Size" step stored; it stays even
    // when the command stops afterwards (an IF Transform with a bad data full
    // scale, a cancelled save dialog). Empty when the step did not run.
    std::optional<int32_t> dataSize;
    // Empty when the command may go on to the save dialog.
    std::vector<FieldProblem> problems;
    HalvikArguments arguments;  // meaningful only without problems

    bool ok() const { return problems.empty(); }
};

// The text of the data full scale error, shown under the program's name.
inline const char kAwgGainError[] = "AWG Gain Error.";

// The command's steps up to the save dialog, in the command's own order:
// BaseBand checks the data full scale first, IF runs "Specify Data Size"
// first. Values the command cannot turn into numbers are all reported
// together, before "Specify Data Size" changes anything.
TransformPlan planTransform(const TransformRequest& request);

// The larger magnitude of the two peaks (on a tie, that common value).
double peakValueOf(double peakI, double peakQ);

// The whole message for a list of problems, one line each.
std::string problemsText(const std::vector<FieldProblem>& problems);

}  // namespace orvenda

#endif
