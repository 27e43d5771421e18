// The run-time state of the layer: whether it is initialised, and the loaded
// panels by handle. The view of a new panel comes from a factory, so this
// part stays free of any GUI toolkit.
#ifndef ORVENDA_ENGINE_RTE_PANEL_REGISTRY_H
#define ORVENDA_ENGINE_RTE_PANEL_REGISTRY_H

#include <functional>
#include <map>
#include <memory>
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

    std::size_t loadedPanels() const { return panels_.size(); }

private:
    Panel* find(int handle);
    int nextFreeHandle();

    ViewFactory factory_;
    int initCount_ = 0;
    int lastHandle_ = 0;
    std::map<int, std::unique_ptr<Panel>> panels_;
};

// The bytes of a panel file, or nothing when it cannot be opened or read.
// Reads at most one byte more than a panel file may hold.
std::optional<std::string> readPanelFileBytes(const char* path);

// The control through which callers show stage and percentage.
inline constexpr int kProgressControlId = 2;

}  // namespace halvik::rte

#endif
