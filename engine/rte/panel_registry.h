// The run-time state of the layer: whether it is initialised, and the loaded
// panels by handle. The view of a new panel comes from a factory, so this
// part stays free of any GUI toolkit.
//
// Safe to use from several threads at once: one mutex guards the count of
// initialisations and the handle table and is held only for a look-up;
// each panel has its own (recursive) mutex, held while it talks to its view,
// so one thread's redraw never waits for another thread's panel. A redraw
// draws the panels loaded by the calling thread.
#ifndef ORVENDA_ENGINE_RTE_PANEL_REGISTRY_H
#define ORVENDA_ENGINE_RTE_PANEL_REGISTRY_H

#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

#include "engine/rte/panel.h"

namespace halvik::rte {

class PanelRegistry {
public:
    using ViewFactory = std::function<std::unique_ptr<PanelView>(const PanelDefinition&)>;
    explicit PanelRegistry(ViewFactory factory) : factory_(std::move(factory)) {}

    // Each returns 0 (a positive handle for load) or a negative RteError.
    int init();
    int close();
    int load(int parent, const char* panelFile, int resourceId);
    int display(int handle);
    int setAttribute(int handle, int control, int attribute, const char* text);
    int setValue(int handle, int control, double value);
    int drawAll();
    int discard(int handle);

    std::size_t loadedPanels() const;

private:
    struct LoadedPanel;
    using PanelTable = std::map<int, std::shared_ptr<LoadedPanel>>;

    // Runs `operation` on the panel under its own lock, or answers why not.
    int withPanel(int handle, const std::function<int(Panel&)>& operation);
    int nextFreeHandle();  // with mutex_ held

    ViewFactory factory_;
    mutable std::mutex mutex_;  // guards the three members below
    int initCount_ = 0;
    int lastHandle_ = 0;
    PanelTable panels_;
};

// The bytes of a panel file, or nothing when it cannot be opened or read.
// Reads at most one byte more than a panel file may hold.
std::optional<std::string> readPanelFileBytes(const char* path);

// The control through which callers show stage and percentage.
inline constexpr int kProgressControlId = 2;

}  // namespace halvik::rte

#endif
