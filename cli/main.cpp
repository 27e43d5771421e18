// orvenda-cli: converts I/Q sample files into waveform files as the program
// Orvenda does, and checks and describes waveform files.
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "cli/command_line.h"
#include "cli/convert_options.h"
#include "cli/convert_runner.h"
#include "cli/exit_codes.h"
#include "cli/export_command.h"
#include "cli/info_report.h"
#include "cli/settings_command.h"
#include "cli/terminal.h"
#ifdef ORVENDA_CLI_WITH_PLOT
#include "cli/plot_command.h"
#endif
#include "cli/interrupt_cleanup.h"

namespace {

int runCommand(const orvenda::cli::ParsedCommandLine& parsed) {
    using namespace orvenda::cli;
    if (parsed.command == Command::Info) return runInfo(parsed.info, std::cout, std::cerr);
    if (parsed.command == Command::Export) return runExport(parsed.exportArgs, std::cerr, stderrIsTerminal());
    if (parsed.command == Command::Settings) return runSettings(parsed.settings, std::cerr);
    ConvertPlan plan;
    try {
        plan = planConvert(parsed.convert);
    } catch (const UsageError& error) {
        std::cerr << kProgramName << " convert: " << error.what() << "\nRun with --help for more information.\n";
        return kExitUsage;
    } catch (const SettingsFileError& error) {
        std::cerr << kProgramName << " convert: " << error.what() << '\n';
        return kExitFailure;
    }
    if (!plan.quiet)
        for (const std::string& note : plan.notes) std::cerr << kProgramName << " convert: note: " << note << '\n';
    // From here on SIGINT, SIGTERM and SIGHUP remove the temporary file of
    // the conversion in progress before the program ends.
    installInterruptCleanup(stderrIsTerminal());
    orvenda::HalvikLibrary library;  // bound once, for every file of the run
    return runConvert(std::move(plan), library, std::cerr, stderrIsTerminal());
}

}  // namespace

int main(int argc, char** argv) {
    using namespace orvenda::cli;
    std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
    if (!args.empty() && args[0] == "plot") {
#ifdef ORVENDA_CLI_WITH_PLOT
        try {
            return runPlot({args.begin() + 1, args.end()}, std::cout, std::cerr);
        } catch (const std::exception& error) {
            std::cerr << kProgramName << ": " << error.what() << '\n';
            return kExitFailure;
        }
#else
        std::cerr << kProgramName << ": plot is not part of this build (it was configured with "
                  << "-DORVENDA_BUILD_GUI=OFF)\n";
        return kExitUsage;
#endif
    }
    ParsedCommandLine parsed = parseCommandLine(args, std::cout, std::cerr);
    if (parsed.exitCode) return *parsed.exitCode;
    try {
        return runCommand(parsed);
    } catch (const std::exception& error) {
        std::cerr << kProgramName << ": " << error.what() << '\n';
        return kExitFailure;
    }
}
