#include "cli/export_command.h"

#include <CLI/CLI.hpp>

#include <filesystem>
#include <ostream>

#include "cli/command_line.h"
#include "cli/exit_codes.h"
#include "cli/terminal.h"
#include "core/export/awv_export.h"

namespace orvenda::cli {
namespace {

constexpr char kExportExamples[] = R"(Examples:
  orvenda-cli export capture.awv -o capture.sigmf-meta   (capture.sigmf-meta and .sigmf-data)
  orvenda-cli export capture.awv -o capture.csv          (lines I,Q,M1,M2)
  orvenda-cli export capture.awv -o capture.cf32         (float pairs I,Q, little-endian)
Values are (code - 8192) / 8191 as 32-bit floats; word A is taken as I and
word B as Q. The SigMF metadata holds the sampling frequency, the other
header settings under "orvenda:" and the marker high ranges as annotations
"marker1" and "marker2". A file that does not follow the waveform format is
refused with the byte offset of the fault, and nothing is written.)";

std::string inQuotes(const std::string& text) { return "\"" + text + "\""; }

}  // namespace

CLI::App* addExportCommand(CLI::App& app, ExportArguments& arguments) {
    CLI::App* command =
        app.add_subcommand("export", "Write the samples of a waveform file as SigMF, CSV or float pairs");
    command->add_option("input", arguments.input, "The waveform file")->required()->type_name("FILE.awv");
    command
        ->add_option("-o,--output", arguments.output,
                     "Output: NAME.sigmf-meta (or .sigmf-data, or NAME alone) for a SigMF pair, NAME.csv, "
                     "NAME.cf32 or NAME.f32")
        ->required()
        ->type_name("FILE");
    command->add_flag("-q,--quiet", arguments.quiet, "No progress line on stderr");
    command->footer(kExportExamples);
    return command;
}

int runExport(const ExportArguments& arguments, std::ostream& err, bool terminal) {
    const std::string usage = std::string(kProgramName) + " export: ";
    std::optional<exporting::ExportTarget> target = exporting::exportTargetOf(arguments.output);
    if (!target) {
        err << usage << "--output: " << inQuotes(arguments.output)
            << " has no known ending: .sigmf-meta, .sigmf-data (or none) for SigMF, .csv, .cf32 or .f32\n"
            << "Run with --help for more information.\n";
        return kExitUsage;
    }
    std::error_code error;
    for (const std::string& file : target->files) {
        if (std::filesystem::is_directory(file, error)) {
            err << kProgramName << ": " << inQuotes(file) << " is a folder, not a file name\n";
            return kExitFailure;
        }
        if (std::filesystem::equivalent(file, arguments.input, error)) {
            err << usage << "--output: " << inQuotes(file) << " would overwrite the input\n";
            return kExitUsage;
        }
    }
    ProgressLine progress(err, terminal && !arguments.quiet);
    const std::string name = std::filesystem::path(arguments.input).filename().string();
    std::uint64_t shownPercent = 101;
    exporting::ExportResult result =
        exporting::exportAwv(arguments.input, *target, [&](std::uint64_t done, std::uint64_t total) {
            const std::uint64_t percent = total ? done * 100 / total : 100;
            if (percent == shownPercent) return;
            shownPercent = percent;
            progress.show(name + ": " + std::to_string(percent) + " %");
        });
    progress.clear();
    if (result.error) {
        err << kProgramName << ": " << *result.error << '\n';
        return kExitFailure;
    }
    return kExitSuccess;
}

}  // namespace orvenda::cli
