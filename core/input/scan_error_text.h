// The message shown when a file cannot be read as the chosen layout.
#ifndef ORVENDA_GUI_INPUT_SCAN_ERROR_TEXT_H
#define ORVENDA_GUI_INPUT_SCAN_ERROR_TEXT_H

#include <string>
#include <string_view>

#include "core/input/input_layout.h"
#include "core/input/scan_types.h"

namespace orvenda::input {

// For example: The file "/data/a.csv" cannot be loaded: line 12 has fewer
// than two fields ("0.5"). `fileName` is shown as given.
std::string scanErrorText(const ScanError& error, InputLayout layout, std::string_view fileName);

}  // namespace orvenda::input

#endif
