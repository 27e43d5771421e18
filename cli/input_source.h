// An input file opened as the codes that a baseband conversion with the
// panel's starting settings (AWG gain 1.0) would write from it: what "info"
// reports the levels of and what "plot" draws.
#ifndef ORVENDA_CLI_INPUT_SOURCE_H
#define ORVENDA_CLI_INPUT_SOURCE_H

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cli/input_formats.h"
#include "core/analysis/sample_source.h"

namespace orvenda::cli {

struct InputSource {
    std::unique_ptr<analysis::SampleSource> source;
    InputFormat format{};               // the layout the file was read as
    std::vector<std::string> warnings;  // the load's messages
    std::string error;                  // why there is no source, without the path
};

// The layout from --layout when given (already checked), else from the name;
// `fsMhz` as typed after --fs (already checked), else the panel's.
InputSource openInputSource(const std::string& path, const std::optional<std::string>& layout,
                            const std::optional<std::string>& fsMhz = std::nullopt);

}  // namespace orvenda::cli

#endif
