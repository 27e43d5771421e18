#include "cli/command_line.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <ostream>

#include "cli/exit_codes.h"
#include "cli/export_command.h"
#include "cli/input_formats.h"
#include "cli/settings_command.h"
#include "common/orvenda_version.h"
#include "core/settings/field_limits.h"

namespace orvenda::cli {
namespace {

constexpr char kProgramExamples[] = R"(Examples:
  orvenda-cli convert capture.MNT -o capture.awv --fs 61.44 --iq-filter 50M
  orvenda-cli info capture.awv
  orvenda-cli export capture.awv -o capture.sigmf-meta
Run "orvenda-cli COMMAND --help" for the options of a command.
Exit codes: 0 success, 1 a conversion or file failed, 2 a usage error.)";

constexpr char kConvertExamples[] = R"(Examples:
  One file, baseband, with a sampling frequency and a filter:
    orvenda-cli convert capture.MNT -o capture.awv --fs 61.44 --iq-filter 50M
  An I file and a Q file, variable output path, single run of 10 loops:
    orvenda-cli convert --i-file tone.i --q-file tone.q -o tone.awv \
        --iq-output var --iq-output-level 1000,1000 --sequence single --loops 10
  Every CSV file of a folder, to IF at 21.4 MHz, markers from files:
    orvenda-cli convert bench/*.csv --output-dir out --if real --carrier 21.4 \
        --marker1 gate.dat --marker2 sync.dat
Options left out leave their header line out, as an unchecked group does;
the sampling frequency is always written (200 MHz unless --fs is given).)";

constexpr char kInfoExamples[] = R"(Examples:
  orvenda-cli info capture.awv
  orvenda-cli info out/*.awv
  orvenda-cli info capture.MNT samples.bin --layout float
Every file ends with the level report of its codes (Peak and RMS in dBFS,
PAPR, full-scale share; for an input file also the SQNR of the 14-bit codes),
an input file as a baseband conversion with the starting settings writes it.
Word A carries I and the markers, word B carries Q (the other way round in a
file written with I/Q inversion, which the header does not record). A file
that does not follow the waveform format is reported with the byte offset of
the fault, and the exit code is 1.)";

// What `orvenda-cli` alone prints: each command with one example, and where
// to read more. A new command adds its line here.
constexpr char kOverview[] = R"(orvenda-cli: converts baseband I/Q sample files into waveform files (.awv)
for a signal generator, and inspects waveform files.

Commands:
  convert   Convert I/Q sample files into waveform files
              orvenda-cli convert capture.MNT -o capture.awv --fs 61.44
  info      Check waveform files and print their settings and statistics
              orvenda-cli info capture.awv
  export    Write a waveform file's samples as SigMF, CSV or float pairs
              orvenda-cli export capture.awv -o capture.sigmf-meta
  settings  Write a settings profile from a waveform file's header
              orvenda-cli settings capture.awv -o capture.orvenda
  plot      Draw a file's time, spectrum, constellation or CCDF picture
              orvenda-cli plot capture.awv -o capture.png --view spectrum

More: "orvenda-cli --help", "orvenda-cli COMMAND --help".
)";
using settings::limitsText;

std::string stepsText(const settings::FieldLimits& limits) {
    return limitsText(limits) + " in steps of " + std::to_string(limits.step);
}

// "info, convert and export": every registered command, for messages.
std::string commandList(const CLI::App& app) {
    std::string list;
    const auto commands = app.get_subcommands([](const CLI::App*) { return true; });
    for (std::size_t k = 0; k < commands.size(); ++k) {
        if (k) list += k + 1 == commands.size() ? " and " : ", ";
        list += commands[k]->get_name();
    }
    return list;
}

bool hasCommand(const CLI::App& app, const std::string& name) {
    const auto commands = app.get_subcommands([&name](const CLI::App* command) { return command->get_name() == name; });
    return !commands.empty();
}

// The option's text goes to `target` only when it is given.
CLI::Option* addText(CLI::App& app, const std::string& names, std::optional<std::string>& target,
                     const std::string& help, const std::string& typeName) {
    CLI::Option* option = app.add_option_function<std::string>(
        names, [&target](const std::string& value) { target = value; }, help);
    option->type_name(typeName);
    return option;
}

void addConvertOptions(CLI::App& convert, ConvertArguments& a) {
    addText(convert, "--settings", a.settings,
            "A settings profile (.orvenda) or a waveform file (.awv) whose header gives the settings; the "
            "options below change it",
            "FILE")
        ->group("Settings");
    convert.add_option("inputs", a.inputs, "Input files of one layout (several need --output-dir)")->type_name("INPUT");
    addText(convert, "--i-file", a.iFile, "I channel text file (one value per line)", "FILE")->group("Input");
    addText(convert, "--q-file", a.qFile, "Q channel text file (one value per line)", "FILE")->group("Input");
    addText(convert, "--layout", a.layout,
            "Layout of the inputs: i, q (one channel as text), iq (I and Q as text), csv, short (16-bit "
            "pairs), float (32-bit float pairs), sigmf (a SigMF recording); by default from the name: .i .q "
            ".csv .MNT .TXD .sigmf-meta .sigmf-data",
            "LAYOUT")
        ->group("Input");
    addText(convert, "--data-size", a.dataSize,
            "Specify Data Size: convert this many samples (" + limitsText(settings::kDataSizeLimits) + ")", "SAMPLES")
        ->group("Input");
    addText(convert, "-o,--output", a.output, "The waveform file to write (one input)", "FILE")->group("Output");
    addText(convert, "-d,--output-dir", a.outputDir, "Folder for one <input name>.awv per input (created when missing)",
            "DIR")
        ->group("Output");

    const std::string panel = "Settings";
    addText(convert, "--iq-filter", a.iqFilter, "I/Q filter: 2.5M, 50M or through", "FILTER")->group(panel);
    addText(convert, "--data-full-scale", a.dataFullScale,
            "Data full scale, " + limitsText(settings::kDataFullScaleLimits) + " (default 1)", "X")
        ->group(panel);
    convert.add_flag("--iq-inverse", a.iqInverse, "I/Q inversion: Q in the first word, I in the second")->group(panel);
    addText(convert, "--iq-offset", a.iqOffset,
            "I/Q offset in mVp-p, " + stepsText(settings::kOffsetLimits) + "; Q defaults to I", "I[,Q]")
        ->group(panel);
    addText(convert, "--iq-output", a.iqOutput, "I/Q output path: fix (1 Vp-p) or var (variable gain)", "PATH")
        ->group(panel);
    addText(convert, "--iq-output-level", a.iqOutputLevel,
            "Output level of the var path in mVp-p, " + stepsText(settings::kOutputLevelLimits) +
                " (default 2000); Q defaults to I",
            "I[,Q]")
        ->group(panel);
    addText(convert, "--sequence", a.sequence,
            "Output sequence: continuous, single or gated (gated needs --start-trigger link); the start trigger "
            "line comes with it, internal unless --start-trigger says link",
            "MODE")
        ->group(panel);
    addText(convert, "--loops", a.loops,
            "Loop count of the single sequence, " + limitsText(settings::kLoopCountLimits) + " (default 1)", "N")
        ->group(panel);
    addText(convert, "--gate", a.gate, "Gate of the gated sequence: edge (default) or level", "GATE")->group(panel);
    addText(convert, "--start-trigger", a.startTrigger,
            "Start trigger: internal or link; the output sequence line comes with it, continuous unless "
            "--sequence says otherwise",
            "SOURCE")
        ->group(panel);
    addText(convert, "--trigger-polarity", a.triggerPolarity,
            "Polarity of the link trigger: positive (default) or negative", "POLARITY")
        ->group(panel);
    addText(convert, "--fs", a.fs,
            "Sampling frequency in MHz, " + limitsText(settings::kSamplingFreqMHzLimits) + " (default 200)", "MHZ")
        ->group(panel);
    addText(convert, "--marker-mode", a.markerMode,
            "Marker mode: auto or manual (a marker file selects manual unless this is given)", "MODE")
        ->group(panel);
    addText(convert, "--marker1", a.marker1, "Marker 1 from a marker data file (Pos and Value pairs)", "FILE")
        ->group(panel);
    addText(convert, "--marker2", a.marker2, "Marker 2 from a marker data file", "FILE")->group(panel);
    addText(convert, "--if", a.ifMode,
            "IF Transform instead of baseband: real (IF on I, Q = 0) or offset (complex frequency offset)", "MODE")
        ->group(panel);
    addText(convert, "--carrier", a.carrier, "Carrier frequency of the IF Transform in MHz (default 21.4)", "MHZ")
        ->group(panel);

    convert.add_flag("-q,--quiet", a.quiet, "No progress line on stderr");
    addText(convert, "--threads", a.threads,
            "Threads per conversion, 1 to 256 (1: single-threaded; default: HALVIK_THREADS, else one per core)", "N")
        ->group("Speed");
    addText(convert, "-j,--jobs", a.jobs,
            "Inputs converted at once, each in its own process, 1 to 256 (default: one per core)", "N")
        ->group("Speed");
}

}  // namespace

ParsedCommandLine parseCommandLine(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    ParsedCommandLine parsed;
    CLI::App app{"Converts baseband I/Q sample files into waveform files (.awv) and inspects waveform files.",
                 kProgramName};
    app.footer(kProgramExamples);
    app.require_subcommand(1);
    app.set_version_flag("--version", std::string(kProgramName) + " " + orvenda::kVersion,
                         "Print the program's version and exit");

    CLI::App* info = app.add_subcommand("info", "Check waveform files and print their settings and sample statistics");
    info->add_option("files", parsed.info.files, "Waveform files (.awv) or input files to inspect")
        ->required()
        ->type_name("FILE");
    info->add_option("--layout", parsed.info.layout, std::string("Layout of the input files: ") + kFormatNames)
        ->type_name("LAYOUT");
    info->footer(kInfoExamples);

    CLI::App* convert = app.add_subcommand("convert", "Convert I/Q sample files into waveform files");
    addConvertOptions(*convert, parsed.convert);
    convert->footer(kConvertExamples);
    CLI::App* settings = addSettingsCommand(app, parsed.settings);

    CLI::App* exporting = addExportCommand(app, parsed.exportArgs);
    // "plot" is run before this parse (it draws with Qt); listed here for the
    // help and the list of commands.
    app.add_subcommand("plot", "Draw a file's time, spectrum, constellation or CCDF picture (orvenda-cli plot --help)")
        ->prefix_command();

    if (args.empty()) {
        err << kOverview;
        parsed.exitCode = kExitUsage;
        return parsed;
    }
    if (!args[0].empty() && args[0][0] != '-' && !hasCommand(app, args[0])) {
        err << kProgramName << ": unknown command \"" << args[0] << "\"; the commands are " << commandList(app) << "\n"
            << "Run with --help for more information.\n";
        parsed.exitCode = kExitUsage;
        return parsed;
    }
    std::vector<std::string> reversed(args.rbegin(), args.rend());  // CLI11 takes them last first
    try {
        app.parse(reversed);
    } catch (const CLI::ParseError& error) {
        int code = app.exit(error, out, err);
        parsed.exitCode = code == static_cast<int>(CLI::ExitCodes::Success) ? kExitSuccess : kExitUsage;
        return parsed;
    }
    parsed.command = info->parsed()        ? Command::Info
                     : exporting->parsed() ? Command::Export
                     : settings->parsed()  ? Command::Settings
                                           : Command::Convert;
    return parsed;
}

}  // namespace orvenda::cli
