// "info" on an input file: the level report of the codes a conversion with
// the panel's starting settings (baseband, AWG gain 1.0) would write from it.
#ifndef ORVENDA_CLI_INPUT_LEVELS_H
#define ORVENDA_CLI_INPUT_LEVELS_H

#include <optional>
#include <string>
#include <vector>

#include "core/analysis/level_report.h"

namespace orvenda::cli {

// True for a name ending in ".awv" (any case): a waveform file, not an input.
bool isWaveformName(const std::string& path);

struct InputLevels {
    std::string text;                   // the report, one line per row, each ending in '\n'
    std::vector<std::string> warnings;  // the load's messages
    std::optional<std::string> error;   // why there is no report
};

// The layout from --layout when given (already checked), else from the name.
InputLevels inputLevels(const std::string& path, const std::optional<std::string>& layout);

// The level report's lines, each ending in '\n'.
std::string levelText(const analysis::LevelReport& report);

}  // namespace orvenda::cli

#endif
