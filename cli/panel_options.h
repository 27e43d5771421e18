// The setting options of "convert", checked against the panel's units and
// limits and written into the panel's snapshot as the fields would show
// them after Enter.
#ifndef ORVENDA_CLI_PANEL_OPTIONS_H
#define ORVENDA_CLI_PANEL_OPTIONS_H

#include "cli/convert_options.h"

namespace orvenda::cli {

// Fills plan.panel, plan.kind, plan.dataSizeText, the marker files and
// plan.markerModeGiven. Throws UsageError.
void applyPanelOptions(const ConvertArguments& arguments, ConvertPlan& plan);

}  // namespace orvenda::cli

#endif
