// The five load commands of the "Signal Source " group as plain rules: their
// dialogs, which layout they read, and what a completed load leaves in the
// loaded-input state and the display boxes.
#ifndef ORVENDA_GUI_INPUT_LOAD_COMMANDS_H
#define ORVENDA_GUI_INPUT_LOAD_COMMANDS_H

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/input/input_layout.h"
#include "core/input/loaded_input.h"
#include "core/input/scan_types.h"

namespace orvenda::input {

enum class LoadCommand { IText, QText, IQText, BinaryShort, BinaryFloat };

// Items of the "File Type" list, in order; the index is SelFileType.
inline constexpr const char* kFileTypeItems[] = {"Text(I or Q)", "Text(IQ)", "Binary(short, IQ)", "Binary(float, IQ)"};

struct LoadCommandInfo {
    int32_t fileType;  // the "File Type" item the command selects
    const char* dialogTitle;
    const char* fileFilter;  // description and pattern pairs separated by "|"
    bool countsIntoQBox;     // progress and count go to the Q count box
};

const LoadCommandInfo& loadCommandInfo(LoadCommand command);

// What the "Load I" / "Load IQ" button runs for the selected file type.
LoadCommand commandForFileType(int32_t fileType);

// An I/Q text file is CSV when its name ends in "csv" or "CSV" (not "Csv").
bool readsAsCsv(std::string_view fileName);
InputLayout layoutFor(LoadCommand command, std::string_view fileName);

// New texts of the display boxes; an empty optional leaves a box as it is.
struct DisplayTexts {
    std::optional<std::string> fileNameI;
    std::optional<std::string> fileNameQ;
    std::optional<std::string> countI;
    std::optional<std::string> countQ;
};

struct LoadCompletion {
    LoadedInput state;  // the loaded-input state to take over
    DisplayTexts texts;
    bool showDataSizeOver = false;
    bool showNotMultipleOf4 = false;
};

// The state after `command` read `path` (shown as `fileName`) with `scan`;
// `dataSizeSpecified` when "Specify Data Size" set the record limit.
// SelFileType is taken from `before`.
LoadCompletion completeLoad(const LoadedInput& before, LoadCommand command, const std::string& path,
                            std::string_view fileName, const ScanResult& scan, bool dataSizeSpecified);

}  // namespace orvenda::input

#endif
