#include "cli/input_levels.h"

#include <algorithm>
#include <cctype>

#include "cli/input_formats.h"
#include "cli/input_loading.h"
#include "core/analysis/conversion_source.h"
#include "core/analysis/signal_analysis.h"
#include "core/transform/settings_record.h"

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
    std::optional<InputFormat> format = layout ? formatNamed(*layout) : formatFromFileName(path);
    if (!format) {
        result.error = "the layout cannot be told from the name; give --layout (" + std::string(kFormatNames) + ")";
        return result;
    }
    ConversionInputs inputs;
    if (*format == InputFormat::IText) {
        inputs.iText = path;
    } else if (*format == InputFormat::QText) {
        inputs.qText = path;
    } else {
        inputs.iqFile = path;
    }
    InputLoad load = loadInputs(inputs, *format, std::nullopt);
    result.warnings = load.warnings;
    if (load.error) {
        result.error = *load.error;
        return result;
    }
    TransformRequest request;  // the panel as the program starts: baseband, gain 1.0
    request.input = load.state;
    TransformPlan plan = planTransform(request);
    if (!plan.ok()) {
        result.error = problemsText(plan.problems);
        return result;
    }
    analysis::ConversionInput input;
    input.arguments = plan.arguments;
    analysis::ConversionOpenResult opened = analysis::ConversionSampleSource::open(input);
    if (!opened.status.done()) {
        result.error = opened.status.error;
        return result;
    }
    analysis::AnalysisResult levels = analysis::analyseLevels(*opened.source);
    if (!levels.status.done()) {
        result.error = levels.status.error;
        return result;
    }
    result.text = "File              " + path + "\n" + "Layout            " + formatName(*format) + "\n" +
                  "Samples           " + std::to_string(levels.levels.samples) + "\n" + levelText(levels.levels);
    return result;
}

}  // namespace orvenda::cli
