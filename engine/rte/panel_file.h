// The panel file of the progress run-time layer ("Halvik.uir"): a tiny,
// line-oriented text format, documented in full at the top of Halvik.uir.
// Parsing is plain C++ on a byte range, so tests and fuzzers feed it bytes
// without files; any byte sequence gives either a panel set or an error.
#ifndef ORVENDA_ENGINE_RTE_PANEL_FILE_H
#define ORVENDA_ENGINE_RTE_PANEL_FILE_H

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace halvik::rte {

enum class ControlKind { Label, Progress };

struct ControlDefinition {
    int id = 0;
    ControlKind kind = ControlKind::Label;
    std::string text;  // the label's text, or a progress control's first stage text
};

struct PanelDefinition {
    int id = 0;
    int width = 0;
    int height = 0;
    std::string title;
    std::vector<ControlDefinition> controls;  // in file order, which is display order

    const ControlDefinition* findControl(int controlId) const;
};

struct PanelFile {
    std::vector<PanelDefinition> panels;

    const PanelDefinition* findPanel(int panelId) const;
};

struct PanelFileResult {
    std::optional<PanelFile> file;  // set when the bytes form a valid panel file
    std::string error;              // otherwise: what is wrong, with the line number
};

// Limits of the format; anything beyond them is malformed.
inline constexpr std::size_t kMaxPanelFileBytes = 64 * 1024;
inline constexpr int kMaxResourceId = 999;
inline constexpr int kMinPanelSide = 100;
inline constexpr int kMaxPanelSide = 2000;
inline constexpr std::size_t kMaxTextBytes = 200;

PanelFileResult parsePanelFile(std::string_view bytes);

}  // namespace halvik::rte

#endif
