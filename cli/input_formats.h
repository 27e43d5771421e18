// The input layouts the command line takes, by name or by file-name ending,
// and how each maps onto the program's load commands and scanner.
#ifndef ORVENDA_CLI_INPUT_FORMATS_H
#define ORVENDA_CLI_INPUT_FORMATS_H

#include <optional>
#include <string>
#include <string_view>

#include "core/input/input_layout.h"
#include "core/input/load_commands.h"

namespace orvenda::cli {

enum class InputFormat {
    IText,        // "i": one channel as text, the I channel
    QText,        // "q": one channel as text, the Q channel
    IQText,       // "iq": I and Q as free-format text
    Csv,          // "csv": I and Q, one line per sample
    BinaryShort,  // "short": 16-bit little-endian pairs
    BinaryFloat,  // "float": 32-bit float little-endian pairs
    Sigmf,        // "sigmf": a SigMF recording, by its meta or data file
};

inline constexpr char kFormatNames[] = "i, q, iq, csv, short, float, sigmf";

std::optional<InputFormat> formatNamed(std::string_view name);
const char* formatName(InputFormat format);

// From the name's ending as the load dialogs' filters suggest, in any case:
// .i, .q, .csv, .MNT, .TXD, .sigmf-meta, .sigmf-data. Nothing for any other
// name.
std::optional<InputFormat> formatFromFileName(std::string_view path);

// The load command the program runs for the format, and the layout its scan
// reads (the CSV choice is the command line's own: a name need not end in csv).
// A recording's layout follows from its datatype; these give the float one.
input::LoadCommand loadCommandOf(InputFormat format);
input::InputLayout scanLayoutOf(InputFormat format);

}  // namespace orvenda::cli

#endif
