// Checking the options of "convert" and turning them into a plan: which
// inputs go to which output files, and the settings panel as a user would
// have set it for the same result. Every value is checked against the
// panel's own units and limits and rejected, naming the option, when it does
// not fit; nothing is pulled into range.
#ifndef ORVENDA_CLI_CONVERT_OPTIONS_H
#define ORVENDA_CLI_CONVERT_OPTIONS_H

#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "cli/arguments.h"
#include "cli/input_formats.h"
#include "core/settings/panel_snapshot.h"
#include "core/transform/settings_record.h"

namespace orvenda::cli {

// A command line that cannot run; the message starts with the option's name.
class UsageError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The inputs of one waveform file: an I text file and/or a Q text file, or
// one file that holds I and Q in the plan's format.
struct ConversionInputs {
    std::optional<std::string> iText;
    std::optional<std::string> qText;
    std::optional<std::string> iqFile;
};

struct ConversionJob {
    ConversionInputs inputs;
    std::string output;
};

struct ConvertPlan {
    InputFormat format = InputFormat::IQText;  // of every iqFile
    std::vector<ConversionJob> jobs;           // in the order given
    std::optional<std::string> outputDir;      // the folder of every output, when given

    TransformKind kind = TransformKind::BaseBand;
    settings::PanelSnapshot panel;            // markers not yet switched on by their files
    std::optional<std::string> dataSizeText;  // "Specify Data Size" checked with this text
    std::optional<std::string> marker1File;
    std::optional<std::string> marker2File;
    // The marker lists of --settings, stored before any marker file.
    std::optional<std::vector<MarkerPoint>> settingsMarker1;
    std::optional<std::vector<MarkerPoint>> settingsMarker2;
    std::vector<std::string> notes;  // said on stderr before the run (unless --quiet)
    bool markerModeGiven = false;    // --marker-mode wins over the switch-on of a marker file
    bool fsGiven = false;            // --fs wins over a recording's core:sample_rate
    bool quiet = false;
    unsigned threads = 0;       // --threads: cap per conversion; 0: HALVIK_THREADS or one per core
    unsigned parallelJobs = 1;  // -j: conversions at once
};

// A --settings file that cannot be used; the message names the file.
class SettingsFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Throws UsageError or SettingsFileError.
ConvertPlan planConvert(const ConvertArguments& arguments);

// The option a field problem of the record builder belongs to.
std::string optionOfField(const std::string& field);

}  // namespace orvenda::cli

#endif
