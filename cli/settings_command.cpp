#include "cli/settings_command.h"

#include <CLI/CLI.hpp>

#include <filesystem>
#include <ostream>

#include "cli/command_line.h"
#include "cli/exit_codes.h"
#include "core/profiles/header_profile.h"
#include "core/profiles/settings_file.h"

namespace orvenda::cli {
namespace {

constexpr char kSettingsExamples[] = R"(Examples:
  orvenda-cli settings shipped.awv -o shipped.orvenda
  orvenda-cli convert capture.MNT -o again.awv --settings shipped.orvenda
The profile holds every output setting of the panel. What the header does not
tell (data full scale, IQ inversion, the IF choice and carrier, marker change
points, values of switched-off groups) is written with the panel's start-up
values and named on stderr.)";

bool sameFile(const std::string& a, const std::string& b) {
    std::error_code error;
    return std::filesystem::equivalent(a, b, error);
}

}  // namespace

CLI::App* addSettingsCommand(CLI::App& app, SettingsArguments& a) {
    CLI::App* command = app.add_subcommand("settings", "Write a settings profile from a waveform file's header");
    command->add_option("waveform", a.waveform, "The waveform file whose header is read")
        ->required()
        ->type_name("FILE.awv");
    command->add_option("-o,--output", a.output, "The settings profile to write")
        ->required()
        ->type_name("FILE.orvenda");
    command->footer(kSettingsExamples);
    return command;
}

int runSettings(const SettingsArguments& a, std::ostream& err) {
    const std::string prefix = std::string(kProgramName) + " settings: ";
    if (a.output.empty() || sameFile(a.waveform, a.output)) {
        err << prefix << "--output: \"" << a.output << "\" would overwrite the waveform file\n";
        return kExitUsage;
    }
    auto read = profiles::readWaveformSettings(a.waveform, profiles::SettingsProfile{});
    if (const auto* error = std::get_if<profiles::ProfileError>(&read)) {
        err << prefix << error->message << '\n';
        return kExitFailure;
    }
    const profiles::LoadedSettings& loaded = std::get<profiles::LoadedSettings>(read);
    if (auto error = profiles::writeProfileFile(a.output, loaded.profile)) {
        err << prefix << error->message << '\n';
        return kExitFailure;
    }
    err << prefix << "note: the header does not tell " << profiles::joinedList(loaded.untold)
        << "; the profile holds the panel's start-up values for them\n";
    return kExitSuccess;
}

}  // namespace orvenda::cli
