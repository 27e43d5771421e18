// Parsing the command line of orvenda-cli into the typed-in option texts.
// Help requests and malformed command lines are answered here, with the
// exit code the program then returns.
#ifndef ORVENDA_CLI_COMMAND_LINE_H
#define ORVENDA_CLI_COMMAND_LINE_H

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "cli/arguments.h"

namespace orvenda::cli {

inline constexpr char kProgramName[] = "orvenda-cli";

enum class Command { Info, Convert, Export, Settings };

struct ParsedCommandLine {
    Command command = Command::Info;
    InfoArguments info;
    ConvertArguments convert;
    ExportArguments exportArgs;
    SettingsArguments settings;
    // Set when parsing already answered: 0 after --help, 2 after an error
    // (whose message went to `err`).
    std::optional<int> exitCode;
};

// `args` are the program's arguments without the program name.
ParsedCommandLine parseCommandLine(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace orvenda::cli

#endif
