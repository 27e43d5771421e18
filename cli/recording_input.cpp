#include "cli/recording_input.h"

#include "core/input/scan_types.h"
#include "core/input/size_rules.h"
#include "core/sigmf/sample_rate_field.h"

namespace orvenda::cli {
namespace {

// The load names the file it scanned; a converted recording is its data file.
void renameIn(std::string& text, const std::string& from, const std::string& to) {
    for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
}

}  // namespace

RecordingInput loadRecording(const std::string& path, const std::optional<std::string>& dataSizeText,
                             const std::string& outputFolder, bool fsGiven) {
    RecordingInput input;
    auto opened = sigmf::openRecording(path);
    if (const auto* error = std::get_if<sigmf::RecordingError>(&opened)) {
        input.load.error = error->message;
        return input;
    }
    const sigmf::Recording& recording = std::get<sigmf::Recording>(opened);

    sigmf::PrepareOptions options;
    options.temporaryFolder = outputFolder;
    // One sample beyond the load's limit, so that the load still sees it exceeded.
    std::uint64_t limit = static_cast<std::uint64_t>(input::kMaxRecords);
    if (dataSizeText) {
        if (std::optional<int32_t> size = input::specifiedDataSize(*dataSizeText))
            limit = static_cast<std::uint64_t>(*size);
    }
    options.sampleLimit = limit + 1;
    auto prepared = sigmf::prepareForEngine(recording, options);
    if (const auto* error = std::get_if<sigmf::RecordingError>(&prepared)) {
        input.load.error = error->message;
        return input;
    }
    input.samples = std::get<sigmf::PreparedSamples>(std::move(prepared));
    const InputFormat format =
        input.samples->command == input::LoadCommand::BinaryShort ? InputFormat::BinaryShort : InputFormat::BinaryFloat;
    input.load = loadInputs(ConversionInputs{std::nullopt, std::nullopt, input.samples->path}, format, dataSizeText);
    if (input.samples->temporary) {
        for (std::string& warning : input.load.warnings)
            renameIn(warning, input.samples->path, recording.meta.dataPath);
        if (input.load.error) renameIn(*input.load.error, input.samples->path, recording.meta.dataPath);
    }
    if (input.load.error) {
        input.samples.reset();
        return input;
    }
    if (recording.meta.sampleRate && !fsGiven) {
        auto field = sigmf::samplingFrequencyField(*recording.meta.sampleRate, recording.metaPath);
        if (const auto* text = std::get_if<sigmf::FieldText>(&field))
            input.fsText = text->text;
        else
            input.load.warnings.push_back(std::get<sigmf::FieldLeft>(field).message);
    }
    return input;
}

}  // namespace orvenda::cli
