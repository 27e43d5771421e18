// "info": the text that describes a checked waveform file, and the command
// that checks and describes files one after the other.
#ifndef ORVENDA_CLI_INFO_REPORT_H
#define ORVENDA_CLI_INFO_REPORT_H

#include <iosfwd>
#include <string>

#include "cli/arguments.h"
#include "engine/awv_reader.h"

namespace orvenda::cli {

// Settings first (a setting without its header line shows "-"), then the
// sample count, the code range of each word, the marker duty and the first
// change points of each marker.
std::string infoText(const std::string& path, const halvik::AwvSummary& summary);

// Describes each file on `out`: a waveform file (".awv") as infoText, any
// other name as an input file (layout from --layout or the name); both end
// with the level report of their codes. A file that cannot be read or does
// not follow its format is reported on `err`. Returns the exit code.
int runInfo(const InfoArguments& arguments, std::ostream& out, std::ostream& err);

}  // namespace orvenda::cli

#endif
