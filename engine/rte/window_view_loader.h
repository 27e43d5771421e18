// Finds the window view for a new panel. The Qt window lives in its own
// library, libOrvendaRteQt.so, loaded from this layer's folder only when the
// process already holds Qt Widgets: a process without a GUI never has Qt
// mapped into it, pays nothing for it and needs no Qt installed.
#ifndef ORVENDA_ENGINE_RTE_WINDOW_VIEW_LOADER_H
#define ORVENDA_ENGINE_RTE_WINDOW_VIEW_LOADER_H

#include <memory>

#include "engine/rte/panel_view.h"

namespace halvik::rte {

struct PanelDefinition;

// A window for the panel when this thread runs a Qt GUI application;
// otherwise null.
std::unique_ptr<PanelView> loadWindowView(const PanelDefinition& definition);

}  // namespace halvik::rte

#endif
