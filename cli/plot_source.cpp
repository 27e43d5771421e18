#include "cli/plot_source.h"

#include "cli/input_formats.h"
#include "cli/input_levels.h"
#include "cli/input_loading.h"
#include "core/analysis/awv_source.h"
#include "core/analysis/conversion_source.h"
#include "core/transform/settings_record.h"

namespace orvenda::cli {
namespace {

PlotSource openWaveform(const std::string& path) {
    PlotSource result;
    analysis::AwvSampleSource::OpenResult opened = analysis::AwvSampleSource::open(path);
    if (auto* error = std::get_if<halvik::AwvError>(&opened))
        result.error = error->describe();
    else
        result.source = std::move(std::get<0>(opened));
    return result;
}

PlotSource openInput(const std::string& path, const std::optional<std::string>& layout,
                     const std::optional<std::string>& fsMhz) {
    PlotSource result;
    const std::optional<InputFormat> format = layout ? formatNamed(*layout) : formatFromFileName(path);
    if (!format) {
        result.error = "the layout cannot be told from the name; give --layout (" + std::string(kFormatNames) + ")";
        return result;
    }
    ConversionInputs inputs;
    if (*format == InputFormat::IText)
        inputs.iText = path;
    else if (*format == InputFormat::QText)
        inputs.qText = path;
    else
        inputs.iqFile = path;
    InputLoad load = loadInputs(inputs, *format, std::nullopt);
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
    if (!opened.status.done())
        result.error = opened.status.error;
    else
        result.source = std::move(opened.source);
    return result;
}

}  // namespace

PlotSource openPlotSource(const std::string& path, const std::optional<std::string>& layout,
                          const std::optional<std::string>& fsMhz) {
    if (!layout && isWaveformName(path)) return openWaveform(path);
    return openInput(path, layout, fsMhz);
}

}  // namespace orvenda::cli
