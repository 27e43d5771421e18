// orvenda-cli: converts I/Q sample files into waveform files as the program
// Orvenda does, and checks and describes waveform files.
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "command_line.h"
#include "convert_options.h"
#include "convert_runner.h"
#include "exit_codes.h"
#include "info_report.h"
#include "interrupt_cleanup.h"
#include "terminal.h"

namespace {

int runCommand(const orvenda::cli::ParsedCommandLine& parsed) {
    using namespace orvenda::cli;
    if (parsed.command == Command::Info) return runInfo(parsed.info, std::cout, std::cerr);
    ConvertPlan plan;
    try {
        plan = planConvert(parsed.convert);
    } catch (const UsageError& error) {
        std::cerr << kProgramName << " convert: " << error.what() << "\nRun with --help for more information.\n";
        return kExitUsage;
    }
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
    ParsedCommandLine parsed = parseCommandLine(args, std::cout, std::cerr);
    if (parsed.exitCode) return *parsed.exitCode;
    try {
        return runCommand(parsed);
    } catch (const std::exception& error) {
        std::cerr << kProgramName << ": " << error.what() << '\n';
        return kExitFailure;
    }
}
