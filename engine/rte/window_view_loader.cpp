#include "engine/rte/window_view_loader.h"

#include <dlfcn.h>

#include <mutex>
#include <string>

#include "engine/rte/window_view_api.h"
#include "engine/sibling_library.h"

namespace halvik::rte {

namespace {

// This layer's folder, where the window library sits beside it.
std::string ownFolder() {
    static const char anchor = 0;
    return folderOfBinaryHolding(&anchor);
}

// Bound once the window library is loaded; it stays loaded (a GUI toolkit's
// libraries are not unloaded again). Panels load on several threads at once.
std::mutex g_bindingMutex;
RteCreateWindowViewFunction g_createWindowView = nullptr;  // guarded by g_bindingMutex

RteCreateWindowViewFunction windowViewFactory() {
    std::lock_guard<std::mutex> lock(g_bindingMutex);
    if (g_createWindowView == nullptr) {
        // No Qt Widgets in the process means no GUI application to show a window in.
        void* widgets = ::dlopen(kQtWidgetsLibrary, RTLD_NOW | RTLD_NOLOAD);
        if (widgets == nullptr) return nullptr;
        ::dlclose(widgets);
        void* library =
            openLibraryIn(ownFolder(), ORVENDA_RTE_WINDOW_LIBRARY_FILE_NAME, RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
        if (library == nullptr) return nullptr;
        g_createWindowView = reinterpret_cast<RteCreateWindowViewFunction>(::dlsym(library, kCreateWindowViewSymbol));
    }
    return g_createWindowView;
}

}  // namespace

std::unique_ptr<PanelView> loadWindowView(const PanelDefinition& definition) {
    const RteCreateWindowViewFunction create = windowViewFactory();
    return create ? std::unique_ptr<PanelView>(create(&definition)) : nullptr;
}

}  // namespace halvik::rte
