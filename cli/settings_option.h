// "convert --settings FILE": a profile, or the settings a waveform file's
// header tells, as the panel from which the command-line options go on.
#ifndef ORVENDA_CLI_SETTINGS_OPTION_H
#define ORVENDA_CLI_SETTINGS_OPTION_H

#include <string>

#include "cli/convert_options.h"

namespace orvenda::cli {

// Sets plan.panel and the marker lists from the file; settings a waveform
// header does not tell keep the panel's start-up values, named in a note.
// Throws SettingsFileError.
void applySettingsFile(const std::string& path, ConvertPlan& plan);

}  // namespace orvenda::cli

#endif
