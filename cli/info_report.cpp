#include "cli/info_report.h"

#include <charconv>
#include <ostream>
#include <sstream>

#include "cli/command_line.h"
#include "cli/exit_codes.h"
#include "cli/input_formats.h"
#include "cli/input_levels.h"
#include "core/analysis/awv_source.h"
#include "core/analysis/signal_analysis.h"
#include "core/settings/text_conversions.h"
#include "engine/awv_word.h"

namespace orvenda::cli {
namespace {

using halvik::AwvCodeStats;
using halvik::AwvMarkerStats;
using halvik::AwvSummary;

constexpr int kLabelWidth = 18;

std::string row(const std::string& label, const std::string& value) {
    std::string line = label;
    line.resize(kLabelWidth, ' ');
    return line + value + "\n";
}

template <typename T, typename Describe>
std::string optionalText(const std::optional<T>& value, Describe describe) {
    return value ? describe(*value) : std::string("-");
}

std::string plainNumber(double value) { return settings::generalNumberText(value); }

// "%.2f %" as printed in the "C" locale, whatever locale the process has.
std::string percent(std::uint64_t part, std::uint64_t whole) {
    const double value = whole == 0 ? 0.0 : 100.0 * static_cast<double>(part) / static_cast<double>(whole);
    char text[32];
    const std::to_chars_result result = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 2);
    return std::string(text, result.ptr) + " %";
}

std::string codesText(const AwvCodeStats& codes, std::uint64_t samples) {
    if (samples == 0) return "-";
    std::string text = std::to_string(codes.minCode) + " .. " + std::to_string(codes.maxCode) +
                       ", full scale: " + std::to_string(codes.atNegativeFullScale) + " at " +
                       std::to_string(halvik::kNegativeFullScale) + ", " + std::to_string(codes.atPositiveFullScale) +
                       " at " + std::to_string(halvik::kPositiveFullScale);
    if (codes.wordsWithStrayBits > 0)
        text += "; " + std::to_string(codes.wordsWithStrayBits) + " words with bits set beyond the code";
    return text;
}

std::string markerDataText(const AwvMarkerStats& marker, std::uint64_t samples) {
    std::string text =
        "high in " + std::to_string(marker.highSamples) + " samples (" + percent(marker.highSamples, samples) + ")";
    if (marker.changeCount == 0) return text + ", no changes";
    text += ", " + std::to_string(marker.changeCount) + (marker.changeCount == 1 ? " change:" : " changes:");
    for (const halvik::AwvChangePoint& change : marker.firstChanges) {
        text += ' ';
        text += std::to_string(change.sample) + ":" + std::to_string(change.level);
    }
    if (marker.changeCount > marker.firstChanges.size())
        text += " ... (" + std::to_string(marker.changeCount - marker.firstChanges.size()) + " more)";
    return text;
}

std::string markerLineText(const halvik::AwvMarkerLine& line) {
    std::string text = line.state + " " + line.polarity;
    for (std::size_t k = 0; k < line.params.size(); ++k) {
        text += k == 0 ? ' ' : ';';
        text += std::to_string(line.params[k]);
    }
    return text;
}

std::string settingsText(const halvik::AwvSettings& s) {
    std::string text;
    text += row("Date", s.date ? *s.date + " " + s.time.value_or("") : "-");
    text += row("I/Q filter", s.iqFilter.value_or("-"));
    text += row("I/Q output", s.iqOutput.value_or("-"));
    text += row("I/Q gain", optionalText(s.iqGain, [](const halvik::AwvNumberPair& p) {
                    return "I " + plainNumber(p.first) + ", Q " + plainNumber(p.second);
                }));
    text += row("I/Q offset", optionalText(s.iqOffset, [](const halvik::AwvNumberPair& p) {
                    return "I " + plainNumber(p.first) + ", Q " + plainNumber(p.second);
                }));
    text += row("Start trigger", optionalText(s.startTrigger, [](const halvik::AwvStartTrigger& t) {
                    return t.source + ", " + t.polarity;
                }));
    text += row("Output sequence", optionalText(s.outputSequence, [](const halvik::AwvOutputSequence& q) {
                    if (q.mode == "GATE") return q.mode + ", " + q.gate;
                    if (q.mode == "CONT") return q.mode;
                    return q.mode + ", " + std::to_string(q.loops) + " loops";
                }));
    text += row("Sampling freq",
                optionalText(s.samplingFrequency, [](double hz) { return plainNumber(hz / 1e6) + " MHz"; }));
    text += row("Marker 1", optionalText(s.marker1, markerLineText));
    text += row("Marker 2", optionalText(s.marker2, markerLineText));
    text += row("Marker mode", s.markerMode.value_or("-"));
    return text;
}

}  // namespace

std::string infoText(const std::string& path, const AwvSummary& summary) {
    std::string text = row("File", path);
    text += row("Size", std::to_string(summary.fileSize) + " bytes, sample block at byte " +
                            std::to_string(summary.dataOffset));
    text += settingsText(summary.settings);
    text += row("Samples", std::to_string(summary.sampleCount));
    text += row("Word A (I) codes", codesText(summary.wordA, summary.sampleCount));
    text += row("Word B (Q) codes", codesText(summary.wordB, summary.sampleCount));
    text += row("Marker 1 data", markerDataText(summary.marker1, summary.sampleCount));
    text += row("Marker 2 data", markerDataText(summary.marker2, summary.sampleCount));
    return text;
}

namespace {

// A waveform file: today's description, then the level report of its codes.
bool describeWaveform(const std::string& path, std::ostream& out, std::ostream& err) {
    analysis::AwvSampleSource::OpenResult opened = analysis::AwvSampleSource::open(path);
    if (const auto* error = std::get_if<halvik::AwvError>(&opened)) {
        err << kProgramName << ": " << path << ": " << error->describe() << '\n';
        return false;
    }
    const auto& source = *std::get<std::unique_ptr<analysis::AwvSampleSource>>(opened);
    analysis::AnalysisResult levels = analysis::analyseLevels(source);
    if (!levels.status.done()) {
        err << kProgramName << ": " << path << ": " << levels.status.error << '\n';
        return false;
    }
    out << infoText(path, source.summary()) << levelText(levels.levels);
    return true;
}

bool describeInput(const std::string& path, const std::optional<std::string>& layout, std::ostream& out,
                   std::ostream& err) {
    InputLevels levels = inputLevels(path, layout);
    for (const std::string& warning : levels.warnings) err << kProgramName << ": warning: " << warning << '\n';
    if (levels.error) {
        err << kProgramName << ": " << path << ": " << *levels.error << '\n';
        return false;
    }
    out << levels.text;
    return true;
}

}  // namespace

int runInfo(const InfoArguments& arguments, std::ostream& out, std::ostream& err) {
    if (arguments.layout && !formatNamed(*arguments.layout)) {
        err << kProgramName << ": --layout: \"" << *arguments.layout << "\" is not one of " << kFormatNames << '\n';
        return kExitUsage;
    }
    int exitCode = kExitSuccess;
    bool first = true;
    for (const std::string& path : arguments.files) {
        std::ostringstream text;
        const bool described =
            isWaveformName(path) ? describeWaveform(path, text, err) : describeInput(path, arguments.layout, text, err);
        if (!described) {
            exitCode = kExitFailure;
            continue;
        }
        if (!first) out << '\n';
        out << text.str();
        first = false;
    }
    out.flush();
    return exitCode;
}

}  // namespace orvenda::cli
