#include "cli/plot_source.h"

#include "cli/input_levels.h"
#include "cli/input_source.h"
#include "core/analysis/awv_source.h"

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

}  // namespace

PlotSource openPlotSource(const std::string& path, const std::optional<std::string>& layout,
                          const std::optional<std::string>& fsMhz) {
    if (!layout && isWaveformName(path)) return openWaveform(path);
    InputSource input = openInputSource(path, layout, fsMhz);
    return PlotSource{std::move(input.source), input.error};
}

}  // namespace orvenda::cli
