#include "core/profiles/settings_file.h"

#include <cstring>
#include <fstream>
#include <iterator>

#include "core/profiles/header_profile.h"
#include "core/profiles/profile_json.h"
#include "engine/awv_reader.h"
#include "engine/output_file.h"

namespace orvenda::profiles {
namespace {

// A profile is a few kilobytes even with two full marker lists.
constexpr std::streamsize kMostProfileBytes = std::streamsize{4} << 20;

std::string quoted(const std::string& text) { return "\"" + text + "\""; }

ProfileError aboutFile(const std::string& path, const std::string& message) {
    return ProfileError{quoted(path) + ": " + message};
}

enum class Guess { Profile, Waveform, Neither, Unreadable };

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// A profile opens with "{" and a key in quotes; a waveform file with "{" and
// a header key in capitals (or WAVEDATA).
Guess guessKind(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return Guess::Unreadable;
    char head[64] = {};
    in.read(head, sizeof head);
    const std::string bytes(head, static_cast<std::size_t>(in.gcount()));
    std::size_t k = bytes.rfind("\xEF\xBB\xBF", 0) == 0 ? 3 : 0;
    while (k < bytes.size() && isBlank(bytes[k])) ++k;
    if (k >= bytes.size() || bytes[k] != '{') return Guess::Neither;
    const bool atStart = k == 0;
    ++k;
    if (atStart && k < bytes.size() && bytes[k] >= 'A' && bytes[k] <= 'Z') return Guess::Waveform;
    while (k < bytes.size() && isBlank(bytes[k])) ++k;
    if (k < bytes.size() && (bytes[k] == '"' || bytes[k] == '}')) return Guess::Profile;
    return Guess::Neither;
}

std::variant<LoadedSettings, ProfileError> readProfile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::string text;
    text.resize(static_cast<std::size_t>(kMostProfileBytes) + 1);
    in.read(text.data(), kMostProfileBytes + 1);
    if (in.bad()) return aboutFile(path, "cannot be read");
    text.resize(static_cast<std::size_t>(in.gcount()));
    if (static_cast<std::streamsize>(text.size()) > kMostProfileBytes)
        return aboutFile(path, "too large for a settings profile");
    auto read = profileFromJsonText(text);
    if (const auto* error = std::get_if<ProfileError>(&read)) return aboutFile(path, error->message);
    return LoadedSettings{SettingsFileKind::Profile, std::get<SettingsProfile>(read), {}};
}

std::variant<LoadedSettings, ProfileError> readWaveform(const std::string& path, const SettingsProfile& base) {
    halvik::AwvReadResult read = halvik::readAwvHeaderFile(path);
    if (const auto* error = std::get_if<halvik::AwvError>(&read)) return aboutFile(path, error->describe());
    auto mapped = profileFromHeader(std::get<halvik::AwvSummary>(read).lines, base);
    if (const auto* error = std::get_if<ProfileError>(&mapped)) return aboutFile(path, error->message);
    HeaderSettings& settings = std::get<HeaderSettings>(mapped);
    return LoadedSettings{SettingsFileKind::Waveform, std::move(settings.profile), std::move(settings.untold)};
}

ProfileError neither(const std::string& path) {
    return aboutFile(path, "is neither a settings profile (JSON) nor a waveform file (.awv)");
}

}  // namespace

std::variant<LoadedSettings, ProfileError> readSettingsFile(const std::string& path, const SettingsProfile& base) {
    switch (guessKind(path)) {
    case Guess::Profile: return readProfile(path);
    case Guess::Waveform: return readWaveform(path, base);
    case Guess::Unreadable: return aboutFile(path, "cannot be opened for reading");
    case Guess::Neither: break;
    }
    return neither(path);
}

std::variant<LoadedSettings, ProfileError> readWaveformSettings(const std::string& path, const SettingsProfile& base) {
    const Guess guess = guessKind(path);
    if (guess == Guess::Unreadable) return aboutFile(path, "cannot be opened for reading");
    if (guess != Guess::Waveform) return aboutFile(path, "is not a waveform file (.awv)");
    return readWaveform(path, base);
}

std::optional<ProfileError> writeProfileFile(const std::string& path, const SettingsProfile& profile) {
    int error = 0;
    const auto file = halvik::OutputFile::create(path, {.syncBeforeRename = true}, &error);
    if (file) {
        file->write(profileJsonText(profile));
        if (file->commit()) return std::nullopt;
        error = file->error();
    }
    return aboutFile(
        path, std::string("cannot be written: ") + std::strerror(error) + "; any file of that name is left as it was");
}

}  // namespace orvenda::profiles
