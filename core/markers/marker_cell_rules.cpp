#include "core/markers/marker_cell_rules.h"

#include <cstdint>

#include "core/settings/text_conversions.h"

namespace orvenda::markers {

std::string evenPositionText(std::string_view text) {
    const std::optional<double> value = settings::strictNumber(text);
    if (!value || *value < 0.0) return "0";
    // Whole values keep their text until made even, which reads them again:
    // both roads end at the rounded integer.
    const int32_t v = settings::roundedInteger(*value);
    return std::to_string(v - v % 2);
}

std::string levelText(std::string_view text) {
    return text == "0" || text == "1" ? std::string(text) : std::string("0");
}

std::string validatedCellText(int column, std::string_view text) {
    return column == kLevelColumn ? levelText(text) : evenPositionText(text);
}

std::optional<int> openCodeForGridKeyDown(int keyCode) {
    if (keyCode == kKeyDelete) return kKeyBackspace;
    if (keyCode == kKeyF2) return kKeyEnter;
    if (keyCode >= 128) return kKeySpace;
    return std::nullopt;
}

namespace {

std::string utf8(char32_t c) {
    std::string out;
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
    return out;
}

}  // namespace

std::optional<CellEditStart> cellEditStart(char32_t code, std::string_view cellText) {
    if (code == kKeyEnter) return CellEditStart{std::string(cellText), false};
    if (code == kKeyBackspace) return CellEditStart{};
    if (code < 32 || code == 127)  // other control characters, DEL
        return std::nullopt;
    if (code == kKeySpace) return CellEditStart{std::string(cellText), true};
    return CellEditStart{utf8(code), false};
}

}  // namespace orvenda::markers
