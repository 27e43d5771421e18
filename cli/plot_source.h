// The signal "plot" draws: an ".awv" file as it is, or an input file as a
// baseband conversion with the panel's starting settings would write it
// (the sampling frequency from --fs), as "info" reports its levels.
#ifndef ORVENDA_CLI_PLOT_SOURCE_H
#define ORVENDA_CLI_PLOT_SOURCE_H

#include <memory>
#include <optional>
#include <string>

#include "core/analysis/sample_source.h"

namespace orvenda::cli {

struct PlotSource {
    std::unique_ptr<analysis::SampleSource> source;
    std::string error;  // why there is no source, without the path
};

// `fsMhz` as typed after --fs (already checked); `layout` as after --layout.
PlotSource openPlotSource(const std::string& path, const std::optional<std::string>& layout,
                          const std::optional<std::string>& fsMhz);

}  // namespace orvenda::cli

#endif
