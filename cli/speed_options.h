// --threads and -j of "convert": how many threads one conversion may use and
// how many inputs are converted at once.
#ifndef ORVENDA_CLI_SPEED_OPTIONS_H
#define ORVENDA_CLI_SPEED_OPTIONS_H

#include "cli/arguments.h"
#include "cli/convert_options.h"

namespace orvenda::cli {

inline constexpr unsigned kMaxSpeedCount = 256;

// Throws UsageError for a value that is not a whole number 1..256. Without
// -j, as many inputs at once as there are cores.
void applySpeedOptions(const ConvertArguments& arguments, ConvertPlan& plan);

}  // namespace orvenda::cli

#endif
