#include "cli/input_levels.h"

#include <algorithm>
#include <cctype>

#include "cli/input_formats.h"
#include "cli/input_source.h"
#include "core/analysis/signal_analysis.h"

namespace orvenda::cli {

bool isWaveformName(const std::string& path) {
    if (path.size() < 4) return false;
    std::string ending = path.substr(path.size() - 4);
    std::transform(ending.begin(), ending.end(), ending.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return ending == ".awv";
}

std::string levelText(const analysis::LevelReport& report) {
    std::string text;
    for (const std::string& line : analysis::levelReportLines(report)) text += line + "\n";
    return text;
}

InputLevels inputLevels(const std::string& path, const std::optional<std::string>& layout) {
    InputLevels result;
    InputSource input = openInputSource(path, layout);
    result.warnings = std::move(input.warnings);
    if (!input.source) {
        result.error = input.error;
        return result;
    }
    analysis::AnalysisResult levels = analysis::analyseLevels(*input.source);
    if (!levels.status.done()) {
        result.error = levels.status.error;
        return result;
    }
    result.text = "File              " + path + "\n" + "Layout            " + formatName(input.format) + "\n" +
                  "Samples           " + std::to_string(levels.levels.samples) + "\n" + levelText(levels.levels);
    return result;
}

}  // namespace orvenda::cli
