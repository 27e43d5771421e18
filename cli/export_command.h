// "export": the samples of a waveform file written back out as I/Q, as a
// SigMF recording, CSV lines or raw float pairs (by the output's name).
#ifndef ORVENDA_CLI_EXPORT_COMMAND_H
#define ORVENDA_CLI_EXPORT_COMMAND_H

#include <iosfwd>

#include "cli/arguments.h"

namespace CLI {
class App;
}

namespace orvenda::cli {

// Adds the subcommand to `app`; parsing fills `arguments`.
CLI::App* addExportCommand(CLI::App& app, ExportArguments& arguments);

// Returns the exit code: 0 written, 1 refused or failed, 2 a usage error.
int runExport(const ExportArguments& arguments, std::ostream& err, bool terminal);

}  // namespace orvenda::cli

#endif
