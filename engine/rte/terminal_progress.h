// The progress of a panel as one line on a terminal: "<stage> <percent>%",
// rewritten in place with a carriage return and ended with a line feed when
// the panel goes away. Used when no GUI runs and stderr is a terminal.
#ifndef ORVENDA_ENGINE_RTE_TERMINAL_PROGRESS_H
#define ORVENDA_ENGINE_RTE_TERMINAL_PROGRESS_H

#include <cstddef>
#include <memory>
#include <string>

#include "engine/rte/panel_view.h"

namespace halvik::rte {

class TerminalProgress final : public PanelView {
public:
    explicit TerminalProgress(int fd) : fd_(fd) {}
    ~TerminalProgress() override;

    // The process's one progress line on `fd`: null while another claimed
    // line exists, so panels of concurrent conversions do not overwrite each
    // other's line. The claim ends with the returned line.
    static std::unique_ptr<TerminalProgress> claim(int fd);
    TerminalProgress(const TerminalProgress&) = delete;
    TerminalProgress& operator=(const TerminalProgress&) = delete;

    void show() override;
    void showText(int control, const std::string& text) override;
    void showPercent(int control, int percent) override;
    void draw() override {}

private:
    void render();
    void writeAll(const std::string& bytes);

    int fd_;
    bool claimed_ = false;
    bool shown_ = false;
    bool rendered_ = false;
    std::string text_;
    int percent_ = 0;
    std::size_t lastLength_ = 0;
};

// The line shown for a stage text and a whole percentage; control bytes of
// the text become blanks so that it cannot move the cursor or change colours.
std::string progressLine(const std::string& text, int percent);

}  // namespace halvik::rte

#endif
