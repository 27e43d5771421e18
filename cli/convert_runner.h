// Running a checked "convert" plan: marker files, then per output file the
// input loads, the settings record and one call of Halvik, with HalvikLib
// bound once for the whole run. A failed input is reported and the run goes
// on with the next one.
#ifndef ORVENDA_CLI_CONVERT_RUNNER_H
#define ORVENDA_CLI_CONVERT_RUNNER_H

#include <iosfwd>

#include "cli/convert_options.h"
#include "core/transform/halvik_library.h"

namespace orvenda::cli {

// `terminal`: stderr is a terminal, so progress may be shown there.
// Returns the exit code: 0 when every file was written, 1 otherwise.
int runConvert(ConvertPlan plan, HalvikLibrary& library, std::ostream& err, bool terminal);

}  // namespace orvenda::cli

#endif
