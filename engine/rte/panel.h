// One loaded panel: its definition from the panel file, the current text and
// percentage of each progress control, and the view that shows them.
#ifndef ORVENDA_ENGINE_RTE_PANEL_H
#define ORVENDA_ENGINE_RTE_PANEL_H

#include <map>
#include <memory>
#include <string>

#include "engine/rte/panel_file.h"
#include "engine/rte/panel_view.h"

namespace halvik::rte {

class Panel {
public:
    Panel(PanelDefinition definition, std::unique_ptr<PanelView> view);

    const PanelDefinition& definition() const { return definition_; }
    // Each returns 0 or a negative RteError.
    int display();
    int setText(int control, int attribute, const char* text);
    int setValue(int control, double value);
    void draw();

private:
    struct ProgressState {
        std::string text;
        int percent = -1;  // nothing shown yet
    };
    ProgressState* progressControl(int control);

    PanelDefinition definition_;
    std::unique_ptr<PanelView> view_;
    std::map<int, ProgressState> progress_;
};

// The whole percentage shown for `value`: held to 0..100 and rounded down, so
// 100 appears only when the work is complete.
int wholePercent(double value);

}  // namespace halvik::rte

#endif
