// The C entry points of libOrvendaRte.so. Each catches everything, so no
// exception leaves the layer, and answers with 0, a handle or an RteError.
#include <unistd.h>

#include <memory>

#include "engine/rte/panel_registry.h"
#include "engine/rte/rte_api.h"
#include "engine/rte/terminal_progress.h"
#include "engine/rte/window_view_loader.h"

namespace {

using halvik::rte::PanelRegistry;

// A window when this thread runs a Qt GUI; else the one progress line on a
// terminal, when no other panel holds it; else nothing.
std::unique_ptr<halvik::rte::PanelView> makeView(const halvik::rte::PanelDefinition& definition) {
    if (auto window = halvik::rte::loadWindowView(definition)) return window;
    if (::isatty(STDERR_FILENO) == 1) {
        if (auto line = halvik::rte::TerminalProgress::claim(STDERR_FILENO)) return line;
    }
    return std::make_unique<halvik::rte::SilentPanelView>();
}

PanelRegistry& registry() {
    // Never destroyed: a panel left loaded at exit must not be deleted
    // after the application that owns its window has gone.
    static PanelRegistry* instance = new PanelRegistry(makeView);
    return *instance;
}

// The registry guards its own state, so calls from several threads run at
// once; this only keeps exceptions inside the layer.
template <typename Operation>
int guarded(Operation operation) {
    try {
        return operation(registry());
    } catch (...) {
        return RTE_ERR_INTERNAL;
    }
}

}  // namespace

extern "C" {

ORVENDA_RTE_API int RteInit(void) {
    return guarded([](PanelRegistry& r) { return r.init(); });
}

ORVENDA_RTE_API int RteLoadPanel(int parent, const char* panelFile, int resourceId) {
    return guarded([&](PanelRegistry& r) { return r.load(parent, panelFile, resourceId); });
}

ORVENDA_RTE_API int RteDisplayPanel(int panel) {
    return guarded([&](PanelRegistry& r) { return r.display(panel); });
}

ORVENDA_RTE_API int RteSetCtrlAttribute(int panel, int control, int attribute, const char* text) {
    return guarded([&](PanelRegistry& r) { return r.setAttribute(panel, control, attribute, text); });
}

ORVENDA_RTE_API int RteSetCtrlVal(int panel, int control, double value) {
    return guarded([&](PanelRegistry& r) { return r.setValue(panel, control, value); });
}

ORVENDA_RTE_API int RteProcessDrawEvents(void) {
    return guarded([](PanelRegistry& r) { return r.drawAll(); });
}

ORVENDA_RTE_API int RteDiscardPanel(int panel) {
    return guarded([&](PanelRegistry& r) { return r.discard(panel); });
}

ORVENDA_RTE_API int RteClose(void) {
    return guarded([](PanelRegistry& r) { return r.close(); });
}

}  // extern "C"
