// How a loaded panel is shown: a window, a line on a terminal, or nothing.
// A Panel decides what changed and tells its view only that.
#ifndef ORVENDA_ENGINE_RTE_PANEL_VIEW_H
#define ORVENDA_ENGINE_RTE_PANEL_VIEW_H

#include <memory>
#include <string>

namespace halvik::rte {

struct PanelDefinition;

class PanelView {
public:
    virtual ~PanelView() = default;
    virtual void show() = 0;
    // The stage text of progress control `control` changed.
    virtual void showText(int control, const std::string& text) = 0;
    // The whole percentage (0..100) of progress control `control` changed.
    virtual void showPercent(int control, int percent) = 0;
    // Redraw whatever is pending.
    virtual void draw() = 0;
};

// A view that shows nothing: for processes with neither a GUI nor a terminal.
class SilentPanelView final : public PanelView {
public:
    void show() override {}
    void showText(int, const std::string&) override {}
    void showPercent(int, int) override {}
    void draw() override {}
};

}  // namespace halvik::rte

#endif
