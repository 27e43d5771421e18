#include "core/sigmf/sigmf_recording.h"

#include <nlohmann/json.hpp>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

namespace orvenda::sigmf {
namespace {

namespace fs = std::filesystem;
using nlohmann::json;

constexpr std::string_view kMetaEnding = ".sigmf-meta";
constexpr std::string_view kDataEnding = ".sigmf-data";
// A meta file is text of a few kilobytes; anything this large is not one.
constexpr std::uintmax_t kMaxMetaBytes = std::uintmax_t{64} << 20;

struct Refusal {
    std::string message;
};

std::string inQuotes(std::string_view text) { return "\"" + std::string(text) + "\""; }

class Checker {
public:
    explicit Checker(const std::string& metaPath) : metaPath_(metaPath) {}

    [[noreturn]] void fail(const std::string& field, const std::string& why) const {
        throw Refusal{metaPath_ + ": " + field + ": " + why};
    }

    const json& object(const json& parent, const char* key, const std::string& field) const {
        const json& value = parent.at(key);
        if (!value.is_object()) fail(field, "is not a JSON object");
        return value;
    }

    std::optional<std::uint64_t> count(const json& parent, const char* key, const std::string& where) const {
        auto found = parent.find(key);
        if (found == parent.end()) return std::nullopt;
        if (!found->is_number_unsigned())
            fail(where + key, "is " + found->dump() + ", not a whole number of 0 or more");
        return found->get<std::uint64_t>();
    }

private:
    const std::string& metaPath_;
};

Datatype datatypeOf(const Checker& check, const json& global) {
    const std::string field = "global core:datatype";
    auto found = global.find("core:datatype");
    if (found == global.end()) check.fail(field, "is missing");
    if (!found->is_string()) check.fail(field, "is " + found->dump() + ", not a text");
    const std::string name = found->get<std::string>();
    std::optional<Datatype> type = parseDatatype(name);
    if (!type)
        check.fail(field, inQuotes(name) +
                              " is not a SigMF datatype (c or r, then f32, f64, i32, i16, u32 or u16 with _le or _be, "
                              "or i8 or u8)");
    if (!type->complex) check.fail(field, inQuotes(name) + " holds real samples; I/Q needs a complex (c...) datatype");
    return *type;
}

std::optional<double> sampleRateOf(const Checker& check, const json& global) {
    auto found = global.find("core:sample_rate");
    if (found == global.end()) return std::nullopt;
    if (!found->is_number()) check.fail("global core:sample_rate", "is " + found->dump() + ", not a number");
    const double rate = found->get<double>();
    if (!std::isfinite(rate) || rate <= 0.0)
        check.fail("global core:sample_rate", "is " + found->dump() + ", not a rate above 0 Hz");
    return rate;
}

std::vector<Capture> capturesOf(const Checker& check, const json& top, std::uint64_t offset) {
    std::vector<Capture> captures;
    auto list = top.find("captures");
    if (list != top.end()) {
        if (!list->is_array()) check.fail("captures", "is not a JSON array");
        for (std::size_t k = 0; k < list->size(); ++k) {
            const std::string where = "captures[" + std::to_string(k) + "] ";
            const json& entry = (*list)[k];
            if (!entry.is_object()) check.fail("captures[" + std::to_string(k) + "]", "is not a JSON object");
            std::optional<std::uint64_t> start = check.count(entry, "core:sample_start", where);
            if (!start) check.fail(where + "core:sample_start", "is missing");
            Capture capture{*start, check.count(entry, "core:header_bytes", where).value_or(0)};
            if (capture.sampleStart < offset)
                check.fail(where + "core:sample_start", std::to_string(capture.sampleStart) +
                                                            " lies before the recording's first sample (core:offset " +
                                                            std::to_string(offset) + ")");
            if (!captures.empty() && capture.sampleStart < captures.back().sampleStart)
                check.fail(where + "core:sample_start",
                           std::to_string(capture.sampleStart) + " comes before the capture above it (" +
                               std::to_string(captures.back().sampleStart) + "); captures must be sorted");
            captures.push_back(capture);
        }
    }
    // No capture: one segment from the first sample.
    if (captures.empty()) captures.push_back(Capture{offset, 0});
    return captures;
}

std::string dataPathOf(const Checker& check, const json& global, const std::string& metaPath) {
    auto dataset = global.find("core:dataset");
    if (dataset == global.end()) {
        const std::string base =
            metaPath.ends_with(kMetaEnding) ? metaPath.substr(0, metaPath.size() - kMetaEnding.size()) : metaPath;
        return base + std::string(kDataEnding);
    }
    if (!dataset->is_string() || dataset->get<std::string>().empty())
        check.fail("global core:dataset", "is " + dataset->dump() + ", not a file name");
    const std::string name = dataset->get<std::string>();
    // A file beside the meta file, never one elsewhere.
    if (fs::path(name).filename().string() != name)
        check.fail("global core:dataset", inQuotes(name) + " is not a plain file name beside the meta file");
    return (fs::path(metaPath).parent_path() / name).string();
}

}  // namespace

bool Recording::contiguous() const {
    if (meta.trailingBytes != 0) return false;
    for (const Capture& capture : meta.captures) {
        if (capture.headerBytes != 0) return false;
    }
    return true;
}

bool isSigmfFileName(std::string_view path) { return path.ends_with(kMetaEnding) || path.ends_with(kDataEnding); }

std::string metaPathOf(const std::string& path) {
    if (path.ends_with(kDataEnding)) return path.substr(0, path.size() - kDataEnding.size()) + std::string(kMetaEnding);
    return path;
}

std::variant<Metadata, RecordingError> parseMetadata(std::string_view text, const std::string& metaPath) {
    Checker check(metaPath);
    json top;
    try {
        top = json::parse(text);
    } catch (const json::parse_error& error) {
        return RecordingError{metaPath + ": invalid JSON at byte " + std::to_string(error.byte) + ": " + error.what()};
    } catch (const json::exception& error) {
        // A number beyond the double range, for instance.
        return RecordingError{metaPath + ": invalid JSON: " + error.what()};
    }
    try {
        if (!top.is_object()) check.fail("the top level", "is not a JSON object");
        if (!top.contains("global")) check.fail("global", "is missing");
        const json& global = check.object(top, "global", "global");
        Metadata meta;
        meta.datatype = datatypeOf(check, global);
        if (std::optional<std::uint64_t> channels = check.count(global, "core:num_channels", "global ");
            channels && *channels != 1)
            check.fail("global core:num_channels",
                       "is " + std::to_string(*channels) + "; only a recording of one channel can be converted");
        meta.sampleRate = sampleRateOf(check, global);
        meta.offset = check.count(global, "core:offset", "global ").value_or(0);
        meta.trailingBytes = check.count(global, "core:trailing_bytes", "global ").value_or(0);
        meta.captures = capturesOf(check, top, meta.offset);
        meta.dataPath = dataPathOf(check, global, metaPath);
        return meta;
    } catch (const Refusal& refusal) {
        return RecordingError{refusal.message};
    } catch (const json::exception& error) {
        return RecordingError{metaPath + ": " + error.what()};
    }
}

std::variant<Recording, RecordingError> layOut(Metadata meta, const std::string& metaPath, std::uint64_t dataBytes) {
    Recording recording;
    recording.metaPath = metaPath;
    recording.dataBytes = dataBytes;
    const std::size_t sampleBytes = meta.datatype.sampleBytes();
    const std::string& data = meta.dataPath;

    std::uint64_t extra = meta.trailingBytes;
    for (const Capture& capture : meta.captures) {
        if (capture.headerBytes > dataBytes || extra > dataBytes - capture.headerBytes)
            return RecordingError{data + ": the file holds " + std::to_string(dataBytes) +
                                  " bytes, fewer than the header and trailing bytes of the metadata (" + metaPath +
                                  " core:header_bytes, core:trailing_bytes)"};
        extra += capture.headerBytes;
    }
    const std::uint64_t sampleSpan = dataBytes - extra;
    if (sampleSpan % sampleBytes != 0)
        return RecordingError{data + ": " + std::to_string(sampleSpan) + " bytes of samples" +
                              (extra ? " (after " + std::to_string(extra) + " header and trailing bytes)" : "") +
                              " are not a whole number of " + meta.datatype.name + " samples of " +
                              std::to_string(sampleBytes) + " bytes (" + metaPath + " global core:datatype)"};
    recording.sampleCount = sampleSpan / sampleBytes;

    // Samples before the first capture, then each capture after its header.
    std::uint64_t byte = 0;
    std::uint64_t sample = 0;  // index in the file
    for (std::size_t k = 0; k < meta.captures.size(); ++k) {
        const std::uint64_t start = meta.captures[k].sampleStart - meta.offset;
        if (start > recording.sampleCount)
            return RecordingError{metaPath + ": captures[" + std::to_string(k) +
                                  "] core:sample_start: " + std::to_string(meta.captures[k].sampleStart) +
                                  " lies beyond the " + std::to_string(recording.sampleCount) + " samples of " + data};
        if (start > sample) recording.segments.push_back(Segment{byte, start - sample});
        byte += (start - sample) * sampleBytes + meta.captures[k].headerBytes;
        sample = start;
    }
    if (recording.sampleCount > sample) recording.segments.push_back(Segment{byte, recording.sampleCount - sample});
    recording.meta = std::move(meta);
    return recording;
}

std::variant<Recording, RecordingError> openRecording(const std::string& path) {
    const std::string metaPath = metaPathOf(path);
    std::error_code error;
    const std::uintmax_t metaSize = fs::file_size(metaPath, error);
    if (error) return RecordingError{metaPath + ": cannot read the meta file: " + error.message()};
    if (metaSize > kMaxMetaBytes)
        return RecordingError{metaPath + ": the meta file holds " + std::to_string(metaSize) +
                              " bytes; that is no SigMF metadata"};
    std::ifstream in(metaPath, std::ios::binary);
    if (!in) return RecordingError{metaPath + ": cannot open the meta file"};
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (in.bad()) return RecordingError{metaPath + ": cannot read the meta file"};

    auto parsed = parseMetadata(text, metaPath);
    if (auto* failure = std::get_if<RecordingError>(&parsed)) return *failure;
    Metadata meta = std::get<Metadata>(std::move(parsed));
    if (!fs::is_regular_file(meta.dataPath, error))
        return RecordingError{meta.dataPath + ": the data file of " + metaPath + " is missing or not a file"};
    const std::uintmax_t dataBytes = fs::file_size(meta.dataPath, error);
    if (error) return RecordingError{meta.dataPath + ": cannot read the data file: " + error.message()};
    return layOut(std::move(meta), metaPath, dataBytes);
}

}  // namespace orvenda::sigmf
