#include "cli/input_loading.h"

#include <filesystem>

#include "common/halvik_api.h"
#include "core/input/load_commands.h"
#include "core/input/scan_error_text.h"
#include "core/input/scanner.h"
#include "core/input/size_rules.h"
#include "core/markers/graph_lib.h"
#include "core/profiles/profile_snapshot.h"

namespace orvenda::cli {
namespace {

// The engine consults only the first entries of a marker list.
constexpr std::size_t kEngineMarkerEntries = HALVIK_MARKER_ENTRIES_WALKED;

std::string fileNameOf(const std::string& path) { return std::filesystem::path(path).filename().string(); }

// One load command on `path`; false (with load.error set) when the file
// cannot be read as `format`.
bool runLoad(InputLoad& load, InputFormat format, input::LoadCommand command, const std::string& path,
             const std::optional<std::string>& dataSizeText) {
    input::ScanOptions options;
    if (dataSizeText) {
        // "Specify Data Size": the size replaces DataSize and limits the scan.
        std::optional<int32_t> size = input::specifiedDataSize(*dataSizeText);
        if (!size) {
            load.error = input::specifiedDataSizeErrorText(*dataSizeText);
            return false;
        }
        load.state.DataSize = *size;
        options.recordLimit = *size;
    }
    const input::InputLayout layout = scanLayoutOf(format);
    input::ScanOutcome scanned = input::scanFile(path, layout, options);
    if (!scanned.ok()) {
        load.error = input::scanErrorText(*scanned.error, layout, path);
        return false;
    }
    input::LoadCompletion done =
        input::completeLoad(load.state, command, path, fileNameOf(path), scanned.result, dataSizeText.has_value());
    if (done.showDataSizeOver)
        load.warnings.push_back(path + ": " + input::kDataSizeOverText + " (only the first " +
                                std::to_string(input::kMaxRecords) + " samples are converted)");
    if (done.showNotMultipleOf4)
        load.warnings.push_back(path + ": " + input::kNotMultipleOf4Text + " (" + std::to_string(scanned.result.count) +
                                " samples, " + std::to_string(done.state.DataSize) + " converted)");
    load.state = done.state;
    return true;
}

}  // namespace

InputLoad loadInputs(const ConversionInputs& inputs, InputFormat format,
                     const std::optional<std::string>& dataSizeText) {
    InputLoad load;
    if (inputs.iqFile) {
        runLoad(load, format, loadCommandOf(format), *inputs.iqFile, dataSizeText);
        return load;
    }
    if (inputs.iText && !runLoad(load, InputFormat::IText, input::LoadCommand::IText, *inputs.iText, dataSizeText))
        return load;
    if (inputs.qText) {
        const int32_t iCount = load.state.DataSize;
        if (!runLoad(load, InputFormat::QText, input::LoadCommand::QText, *inputs.qText, dataSizeText)) return load;
        // One count serves both channels: the Q file's, as after loading I then Q.
        if (inputs.iText && !dataSizeText && iCount != load.state.DataSize)
            load.warnings.push_back("the I file has " + std::to_string(iCount) + " samples and the Q file " +
                                    std::to_string(load.state.DataSize) + "; " + std::to_string(load.state.DataSize) +
                                    " are converted");
    }
    return load;
}

std::vector<std::string> markerListWarnings(const std::vector<MarkerPoint>& points, markers::MarkerNumber marker) {
    std::vector<std::string> warnings;
    const std::string name = "marker " + std::to_string(markers::numberOf(marker)) + ": ";
    if (points.size() > kEngineMarkerEntries)
        warnings.push_back(name + "only the first " + std::to_string(kEngineMarkerEntries) + " of " +
                           std::to_string(points.size()) + " change points reach the waveform");
    const std::size_t consulted = std::min(points.size(), kEngineMarkerEntries);
    for (std::size_t k = 0; k < consulted; ++k) {
        const bool rises = k == 0 ? points[k].Pos >= 0 : points[k].Pos > points[k - 1].Pos;
        if (!rises) {
            warnings.push_back(name + "point " + std::to_string(k + 1) + " (Pos " + std::to_string(points[k].Pos) +
                               ") does not come after the point before it; the marker does not change from there on");
            break;
        }
    }
    return warnings;
}

MarkerLoad loadMarkers(ConvertPlan& plan) {
    MarkerLoad load;
    for (markers::MarkerNumber marker : markers::kBothMarkers) {
        const auto& fromSettings = marker == markers::MarkerNumber::One ? plan.settingsMarker1 : plan.settingsMarker2;
        if (!fromSettings) continue;
        profiles::storeProfilePoints(load.store, markers::numberOf(marker), *fromSettings);
        for (std::string& warning : markerListWarnings(*fromSettings, marker))
            load.warnings.push_back("--settings: " + warning);
    }
    for (markers::MarkerNumber marker : markers::kBothMarkers) {
        const bool first = marker == markers::MarkerNumber::One;
        const std::optional<std::string>& file = first ? plan.marker1File : plan.marker2File;
        if (!file) continue;
        markers::MarkerFileReadResult read = markers::readMarkerFile(*file, markers::kMarkerFileMaxPoints);
        if (const auto* error = std::get_if<markers::MarkerFileError>(&read)) {
            load.error = error->message;
            return load;
        }
        const auto& contents = std::get<markers::MarkerFileContents>(read);
        if (contents.pointsDropped)
            load.warnings.push_back(*file + ": work size over (the first " +
                                    std::to_string(markers::kMarkerFileMaxPoints) + " points are used)");
        markers::storeLoadedMarker(load.store, marker, contents.points);
        if (contents.points.empty()) {
            load.warnings.push_back(*file + ": no change points; marker " + std::to_string(markers::numberOf(marker)) +
                                    " stays off");
            continue;
        }
        for (std::string& warning : markerListWarnings(contents.points, marker))
            load.warnings.push_back(*file + ": " + warning);
        (first ? plan.panel.mark1On : plan.panel.mark2On) = true;
        if (!plan.markerModeGiven) {
            plan.panel.markerModeOn = true;
            plan.panel.markOption = 1;  // "Manual Edit"
        }
    }
    return load;
}

}  // namespace orvenda::cli
