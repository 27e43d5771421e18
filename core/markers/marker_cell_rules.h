// What the marker grid's cells accept: the Enter rules of the in-place
// editor, the add-point rules, and which keys open the in-place editor with
// which text. Plain C++; the grid widget applies them.
#ifndef ORVENDA_GUI_MARKERS_MARKER_CELL_RULES_H
#define ORVENDA_GUI_MARKERS_MARKER_CELL_RULES_H

#include <optional>
#include <string>
#include <string_view>

namespace orvenda::markers {

// Grid columns.
inline constexpr int kPositionColumn = 0;
inline constexpr int kLevelColumn = 1;

// A position: not a number or below 0 gives "0"; a fraction is rounded to the
// nearest whole number (a half to the even neighbour); then an odd position
// is lowered by one. "7" -> "6", "7.5" -> "8", "0010" -> "10", "1e3" ->
// "1000". Beyond the int32 range it saturates (then lowered to even).
std::string evenPositionText(std::string_view text);

// A level is exactly "0" or "1"; anything else becomes "0".
std::string levelText(std::string_view text);

// Enter in the in-place editor: the text by the column being edited.
std::string validatedCellText(int column, std::string_view text);

// Key codes of the grid's keyboard, as the desktop reports them.
inline constexpr int kKeyBackspace = 8;
inline constexpr int kKeyEnter = 13;
inline constexpr int kKeySpace = 32;
inline constexpr int kKeyDelete = 46;
inline constexpr int kKeyF2 = 113;

// Key down on the grid: the code it opens the in-place editor with, if any
// (Delete opens it empty, F2 on the cell text, codes from 128 on with the
// caret at the start).
std::optional<int> openCodeForGridKeyDown(int keyCode);

// The in-place editor as an open code leaves it.
struct CellEditStart {
    std::string text;           // UTF-8
    bool caretAtStart = false;  // otherwise the caret stands after the text
    friend bool operator==(const CellEditStart&, const CellEditStart&) = default;
};

// Opening with code `code` (a character's code point, or 8/13/32 from the
// rules above) on a cell holding `cellText`: 13 the cell text with the caret
// at the end, 8 empty, 32 the cell text with the caret at the start, another
// control code nothing (so Escape, Tab and Ctrl+letters open nothing), any
// other character that character alone with the caret after it.
std::optional<CellEditStart> cellEditStart(char32_t code, std::string_view cellText);

}  // namespace orvenda::markers

#endif
