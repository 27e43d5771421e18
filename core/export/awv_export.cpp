#include "core/export/awv_export.h"

#include <nlohmann/json.hpp>

#include <charconv>
#include <filesystem>
#include <memory>

#include "core/cleanup/temporary_file.h"
#include "core/export/awv_samples.h"
#include "engine/awv_reader.h"

namespace orvenda::exporting {
namespace {

namespace fs = std::filesystem;
using cleanup::TemporaryFile;
using nlohmann::json;

struct Failure {
    std::string message;
};

std::string lowerCase(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

std::unique_ptr<TemporaryFile> temporaryBeside(const std::string& target) {
    std::string error;
    auto file = TemporaryFile::create(cleanup::folderOf(target),
                                      "." + fs::path(target).filename().string().substr(0, 120), error);
    if (!file) throw Failure{target + ": " + error};
    return file;
}

void write(TemporaryFile& file, const std::string& target, const void* data, std::size_t size) {
    if (!file.write(data, size)) throw Failure{target + ": " + file.error()};
}

json orvendaSettings(const halvik::AwvSettings& s) {
    json global = json::object();
    if (s.date && s.time) global["orvenda:date"] = *s.date + " " + *s.time;
    if (s.iqFilter) global["orvenda:iq_filter"] = *s.iqFilter;
    if (s.iqOutput) global["orvenda:iq_output"] = *s.iqOutput;
    if (s.iqGain) global["orvenda:iq_gain"] = {s.iqGain->first, s.iqGain->second};
    if (s.iqOffset) global["orvenda:iq_offset"] = {s.iqOffset->first, s.iqOffset->second};
    if (s.startTrigger)
        global["orvenda:start_trigger"] = {{"source", s.startTrigger->source}, {"polarity", s.startTrigger->polarity}};
    if (s.outputSequence) {
        json sequence = {{"mode", s.outputSequence->mode}};
        if (s.outputSequence->mode == "GATE")
            sequence["gate"] = s.outputSequence->gate;
        else if (s.outputSequence->mode != "CONT")
            sequence["loops"] = s.outputSequence->loops;
        global["orvenda:output_sequence"] = sequence;
    }
    int number = 1;
    for (const auto* marker : {&s.marker1, &s.marker2}) {
        if (*marker)
            global["orvenda:marker" + std::to_string(number)] = {
                {"state", (*marker)->state}, {"polarity", (*marker)->polarity}, {"params", (*marker)->params}};
        ++number;
    }
    if (s.markerMode) global["orvenda:marker_mode"] = *s.markerMode;
    return global;
}

std::string metaOpening(const std::string& awvPath, const halvik::AwvSummary& summary) {
    json global = orvendaSettings(summary.settings);
    global["core:datatype"] = "cf32_le";
    global["core:version"] = "1.2.0";
    global["core:num_channels"] = 1;
    if (summary.settings.samplingFrequency) global["core:sample_rate"] = *summary.settings.samplingFrequency;
    global["core:recorder"] = "Orvenda";
    global["core:description"] = "Samples of " + fs::path(awvPath).filename().string() +
                                 ": word A as I, word B as Q, values (code - 8192) / 8191";
    global["core:extensions"] = json::array({{{"name", "orvenda"}, {"version", "1.0.0"}, {"optional", true}}});
    json captures = json::array({{{"core:sample_start", 0}}});
    return "{\n\"global\": " + global.dump(2) + ",\n\"captures\": " + captures.dump() + ",\n\"annotations\": [";
}

// Both markers' ranges, merged in order of their first sample.
std::uint64_t writeAnnotations(TemporaryFile& meta, const std::string& target, const std::string& awvPath,
                               const halvik::AwvSummary& summary) {
    MarkerRanges one(awvPath, summary, 1);
    MarkerRanges two(awvPath, summary, 2);
    std::optional<MarkerRanges::Range> next1 = one.next();
    std::optional<MarkerRanges::Range> next2 = two.next();
    std::uint64_t written = 0;
    while (next1 || next2) {
        const bool takeOne = next1 && (!next2 || next1->start <= next2->start);
        const MarkerRanges::Range range = takeOne ? *next1 : *next2;
        json annotation = {{"core:sample_start", range.start},
                           {"core:sample_count", range.count},
                           {"core:label", takeOne ? "marker1" : "marker2"}};
        const std::string text = (written == 0 ? "\n" : ",\n") + annotation.dump();
        write(meta, target, text.data(), text.size());
        ++written;
        (takeOne ? next1 : next2) = (takeOne ? one : two).next();
    }
    return written;
}

void appendNumber(std::string& line, float value) {
    char digits[32];
    auto [end, error] = std::to_chars(digits, digits + sizeof digits, value);
    line.append(digits, end);
}

class Export {
public:
    Export(const std::string& awvPath, const ExportTarget& target,
           const std::function<void(std::uint64_t, std::uint64_t)>& onProgress)
        : awvPath_(awvPath), target_(target), onProgress_(onProgress) {}

    ExportResult run() {
        ExportResult result;
        halvik::AwvReadResult read = halvik::readAwvFile(awvPath_);
        if (const auto* error = std::get_if<halvik::AwvError>(&read)) {
            result.error = awvPath_ + ": " + error->describe();
            return result;
        }
        const halvik::AwvSummary& summary = std::get<halvik::AwvSummary>(read);
        std::vector<std::unique_ptr<TemporaryFile>> files;
        try {
            for (const std::string& file : target_.files) files.push_back(temporaryBeside(file));
            writeSamples(summary, *files[0]);
            if (target_.format == ExportFormat::Sigmf) {
                const std::string& metaTarget = target_.files[1];
                const std::string opening = metaOpening(awvPath_, summary);
                write(*files[1], metaTarget, opening.data(), opening.size());
                result.markerRanges = writeAnnotations(*files[1], metaTarget, awvPath_, summary);
                const std::string closing = result.markerRanges ? "\n]\n}\n" : "]\n}\n";
                write(*files[1], metaTarget, closing.data(), closing.size());
            }
            for (auto& file : files) {
                if (!file->close()) throw Failure{file->error()};
            }
            // The meta file last: a recording is never there without its data.
            for (std::size_t k = 0; k < files.size(); ++k) {
                if (!files[k]->keepAs(target_.files[k])) throw Failure{target_.files[k] + ": " + files[k]->error()};
                ++keptCount_;
            }
        } catch (const Failure& failure) {
            removeKept(files);
            result.error = failure.message;
            return result;
        } catch (const AwvSampleError& error) {
            removeKept(files);
            result.error = awvPath_ + ": " + error.what();
            return result;
        }
        result.sampleCount = summary.sampleCount;
        return result;
    }

private:
    // A pair of which only the first file was renamed leaves nothing behind.
    void removeKept(std::vector<std::unique_ptr<TemporaryFile>>& files) {
        std::error_code ignored;
        for (std::size_t k = 0; k < keptCount_; ++k) fs::remove(target_.files[k], ignored);
        files.clear();  // the temporary files go with them
    }

    void writeSamples(const halvik::AwvSummary& summary, TemporaryFile& out) {
        const std::string& target = target_.files[0];
        AwvSampleStream stream(awvPath_, summary);
        DecodedBlock block;
        std::vector<float> pairs;
        std::string lines;
        while (stream.next(block)) {
            if (target_.format == ExportFormat::Csv) {
                lines.clear();
                for (std::size_t k = 0; k < block.size(); ++k) {
                    appendNumber(lines, block.i[k]);
                    lines += ',';
                    appendNumber(lines, block.q[k]);
                    lines += block.marker1[k] ? ",1" : ",0";
                    lines += block.marker2[k] ? ",1\n" : ",0\n";
                }
                write(out, target, lines.data(), lines.size());
            } else {
                pairs.resize(2 * block.size());
                for (std::size_t k = 0; k < block.size(); ++k) {
                    pairs[2 * k] = block.i[k];
                    pairs[2 * k + 1] = block.q[k];
                }
                write(out, target, pairs.data(), pairs.size() * sizeof(float));
            }
            if (onProgress_) onProgress_(block.firstSample + block.size(), summary.sampleCount);
        }
    }

    const std::string& awvPath_;
    const ExportTarget& target_;
    const std::function<void(std::uint64_t, std::uint64_t)>& onProgress_;
    std::size_t keptCount_ = 0;
};

}  // namespace

std::optional<ExportTarget> exportTargetOf(const std::string& output) {
    const std::string name = lowerCase(fs::path(output).filename().string());
    const std::string extension = lowerCase(fs::path(output).extension().string());
    if (name.empty() || name == "." || name == "..") return std::nullopt;
    if (extension == ".csv") return ExportTarget{ExportFormat::Csv, {output}};
    if (extension == ".cf32" || extension == ".f32") return ExportTarget{ExportFormat::RawFloat, {output}};
    std::string base;
    if (extension == ".sigmf-meta" || extension == ".sigmf-data")
        base = output.substr(0, output.size() - extension.size());
    else if (extension.empty())
        base = output;
    else
        return std::nullopt;
    return ExportTarget{ExportFormat::Sigmf, {base + ".sigmf-data", base + ".sigmf-meta"}};
}

ExportResult exportAwv(const std::string& awvPath, const ExportTarget& target,
                       const std::function<void(std::uint64_t, std::uint64_t)>& onProgress) {
    return Export(awvPath, target, onProgress).run();
}

}  // namespace orvenda::exporting
