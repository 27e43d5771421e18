// "orvenda-cli settings FILE.awv -o FILE.orvenda": the profile of the
// settings a waveform file's header tells.
#ifndef ORVENDA_CLI_SETTINGS_COMMAND_H
#define ORVENDA_CLI_SETTINGS_COMMAND_H

#include <iosfwd>

#include "cli/arguments.h"

namespace CLI {
class App;
}

namespace orvenda::cli {

// Adds the subcommand; returns it so the caller can tell whether it ran.
CLI::App* addSettingsCommand(CLI::App& app, SettingsArguments& arguments);

// Writes the profile; settings the header does not tell take the panel's
// start-up values and are named on `err`. Returns the exit code.
int runSettings(const SettingsArguments& arguments, std::ostream& err);

}  // namespace orvenda::cli

#endif
