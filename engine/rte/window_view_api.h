// The one entry point of libOrvendaRteQt.so, the layer's Qt window. Both
// libraries are built together from the same sources, so the C++ types
// passed here have the same layout on both sides.
#ifndef ORVENDA_ENGINE_RTE_WINDOW_VIEW_API_H
#define ORVENDA_ENGINE_RTE_WINDOW_VIEW_API_H

#include "engine/rte/panel_file.h"
#include "engine/rte/panel_view.h"

#define ORVENDA_RTE_WINDOW_LIBRARY_FILE_NAME "libOrvendaRteQt.so"

namespace halvik::rte {

inline constexpr const char* kQtWidgetsLibrary = "libQt6Widgets.so.6";
inline constexpr const char* kCreateWindowViewSymbol = "RteCreateWindowView";

}  // namespace halvik::rte

extern "C" {
// A new window for the panel, owned by the caller; null when this thread
// runs no Qt GUI application (none is ever created).
typedef halvik::rte::PanelView* (*RteCreateWindowViewFunction)(const halvik::rte::PanelDefinition* definition);
}

#endif
