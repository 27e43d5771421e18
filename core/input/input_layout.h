// The layouts in which the program reads input sample files.
#ifndef ORVENDA_GUI_INPUT_INPUT_LAYOUT_H
#define ORVENDA_GUI_INPUT_INPUT_LAYOUT_H

namespace orvenda::input {

enum class InputLayout {
    // One channel: numbers separated by commas, blanks, tabs or line ends;
    // every number is one record.
    SingleChannelText,
    // I and Q: numbers as above, taken in pairs regardless of lines.
    FreeFormatIQText,
    // I and Q: one record per line, fields split at every ",", fields 0 and 1
    // strict numbers, further fields ignored.
    CsvIQText,
    // No header; per record a little-endian int16 I, then Q.
    BinaryShortPairs,
    // No header; per record a little-endian IEEE 754 float I, then Q.
    BinaryFloatPairs,
};

// Whether the layout holds both channels.
constexpr bool holdsIAndQ(InputLayout layout) { return layout != InputLayout::SingleChannelText; }

}  // namespace orvenda::input

#endif
