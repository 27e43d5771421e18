// The C entry points of libOrvendaRte.so. Each catches everything, so no
// exception leaves the layer, and answers with 0, a handle or an RteError.
#include <unistd.h>

#include <memory>
#include <mutex>

#include "engine/rte/panel_registry.h"
#include "engine/rte/rte_api.h"
#include "engine/rte/terminal_progress.h"
#include "engine/rte/window_view_loader.h"

namespace {

using halvik::rte::PanelRegistry;

std::unique_ptr<halvik::rte::PanelView> makeView(const halvik::rte::PanelDefinition& definition) {
    if (auto window = halvik::rte::loadWindowView(definition)) return window;
    if (::isatty(STDERR_FILENO) == 1) return std::make_unique<halvik::rte::TerminalProgress>(STDERR_FILENO);
    return std::make_unique<halvik::rte::SilentPanelView>();
}

// Recursive: a window redraw runs the application's event processing, which
// must not deadlock should anything in it come back to the layer.
std::recursive_mutex& registryMutex() {
    static std::recursive_mutex mutex;
    return mutex;
}

PanelRegistry& registry() {
    // Never destroyed: a panel left loaded at exit must not be deleted
    // after the application that owns its window has gone.
    static PanelRegistry* instance = new PanelRegistry(makeView);
    return *instance;
}

template <typename Operation>
int guarded(Operation operation) {
    try {
        std::lock_guard<std::recursive_mutex> lock(registryMutex());
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
