#include "cli/input_source.h"

#include "cli/input_loading.h"
#include "core/analysis/conversion_source.h"
#include "core/transform/settings_record.h"

namespace orvenda::cli {

InputSource openInputSource(const std::string& path, const std::optional<std::string>& layout,
                            const std::optional<std::string>& fsMhz) {
    InputSource result;
    const std::optional<InputFormat> format = layout ? formatNamed(*layout) : formatFromFileName(path);
    if (!format) {
        result.error = "the layout cannot be told from the name; give --layout (" + std::string(kFormatNames) + ")";
        return result;
    }
    result.format = *format;
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
    if (fsMhz) request.panel.fsText = *fsMhz;
    const TransformPlan plan = planTransform(request);
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
    result.source = std::move(opened.source);
    return result;
}

}  // namespace orvenda::cli
