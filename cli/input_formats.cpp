#include "cli/input_formats.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <utility>

namespace orvenda::cli {
namespace {

constexpr std::array<std::pair<InputFormat, const char*>, 7> kNames{{
    {InputFormat::IText, "i"},
    {InputFormat::QText, "q"},
    {InputFormat::IQText, "iq"},
    {InputFormat::Csv, "csv"},
    {InputFormat::BinaryShort, "short"},
    {InputFormat::BinaryFloat, "float"},
    {InputFormat::Sigmf, "sigmf"},
}};

constexpr std::array<std::pair<const char*, InputFormat>, 7> kEndings{{
    {".i", InputFormat::IText},
    {".q", InputFormat::QText},
    {".csv", InputFormat::Csv},
    {".mnt", InputFormat::BinaryShort},
    {".txd", InputFormat::BinaryFloat},
    {".sigmf-meta", InputFormat::Sigmf},
    {".sigmf-data", InputFormat::Sigmf},
}};

std::string lowerCase(std::string_view text) {
    std::string lower(text);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return lower;
}

}  // namespace

std::optional<InputFormat> formatNamed(std::string_view name) {
    const std::string lower = lowerCase(name);
    for (const auto& [format, formatText] : kNames) {
        if (lower == formatText) return format;
    }
    return std::nullopt;
}

const char* formatName(InputFormat format) {
    for (const auto& [candidate, formatText] : kNames) {
        if (candidate == format) return formatText;
    }
    return "?";
}

std::optional<InputFormat> formatFromFileName(std::string_view path) {
    const std::string lower = lowerCase(path);
    const std::size_t slash = lower.find_last_of('/');
    const std::string name = slash == std::string::npos ? lower : lower.substr(slash + 1);
    for (const auto& [ending, format] : kEndings) {
        // A name that is nothing but the ending (".i") is a hidden file, not an I file.
        if (name.size() > std::string_view(ending).size() && name.ends_with(ending)) return format;
    }
    return std::nullopt;
}

input::LoadCommand loadCommandOf(InputFormat format) {
    switch (format) {
    case InputFormat::IText: return input::LoadCommand::IText;
    case InputFormat::QText: return input::LoadCommand::QText;
    case InputFormat::IQText:
    case InputFormat::Csv: return input::LoadCommand::IQText;
    case InputFormat::BinaryShort: return input::LoadCommand::BinaryShort;
    case InputFormat::BinaryFloat:
    case InputFormat::Sigmf: return input::LoadCommand::BinaryFloat;
    }
    return input::LoadCommand::IText;
}

input::InputLayout scanLayoutOf(InputFormat format) {
    switch (format) {
    case InputFormat::IText:
    case InputFormat::QText: return input::InputLayout::SingleChannelText;
    case InputFormat::IQText: return input::InputLayout::FreeFormatIQText;
    case InputFormat::Csv: return input::InputLayout::CsvIQText;
    case InputFormat::BinaryShort: return input::InputLayout::BinaryShortPairs;
    case InputFormat::BinaryFloat:
    case InputFormat::Sigmf: return input::InputLayout::BinaryFloatPairs;
    }
    return input::InputLayout::SingleChannelText;
}

}  // namespace orvenda::cli
