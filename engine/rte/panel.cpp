#include "engine/rte/panel.h"

#include <cmath>

#include "engine/rte/rte_api.h"

namespace halvik::rte {

Panel::Panel(PanelDefinition definition, std::unique_ptr<PanelView> view)
    : definition_(std::move(definition)), view_(std::move(view)) {
    for (const ControlDefinition& control : definition_.controls) {
        if (control.kind == ControlKind::Progress) progress_[control.id] = ProgressState{control.text, -1};
    }
}

int Panel::display() {
    // Contents first, so the panel appears complete.
    for (auto& [id, state] : progress_) {
        view_->showText(id, state.text);
        if (state.percent < 0) state.percent = 0;
        view_->showPercent(id, state.percent);
    }
    view_->show();
    view_->draw();
    return 0;
}

Panel::ProgressState* Panel::progressControl(int control) {
    auto it = progress_.find(control);
    return it == progress_.end() ? nullptr : &it->second;
}

int Panel::setText(int control, int attribute, const char* text) {
    if (attribute != RTE_ATTR_LABEL_TEXT || text == nullptr) return RTE_ERR_BAD_ARGUMENT;
    ProgressState* state = progressControl(control);
    if (!state) return RTE_ERR_NO_CONTROL;
    std::string next(text);
    if (next.size() > kMaxTextBytes) next.resize(kMaxTextBytes);
    if (next != state->text) {
        state->text = std::move(next);
        view_->showText(control, state->text);
    }
    return 0;
}

int Panel::setValue(int control, double value) {
    if (std::isnan(value)) return RTE_ERR_BAD_ARGUMENT;
    ProgressState* state = progressControl(control);
    if (!state) return RTE_ERR_NO_CONTROL;
    // Called once per block of samples: only a change of the shown whole
    // percentage reaches the view, so a long conversion redraws ~100 times.
    const int percent = wholePercent(value);
    if (percent != state->percent) {
        state->percent = percent;
        view_->showPercent(control, percent);
    }
    return 0;
}

void Panel::draw() { view_->draw(); }

int wholePercent(double value) {
    if (!(value > 0.0)) return 0;
    if (value >= 100.0) return 100;
    return static_cast<int>(value);
}

}  // namespace halvik::rte
