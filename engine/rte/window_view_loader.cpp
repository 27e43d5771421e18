#include "engine/rte/window_view_loader.h"

#include <dlfcn.h>

#include <mutex>
#include <string>

#include "engine/rte/window_view_api.h"

namespace halvik::rte {

namespace {

std::string ownFolder() {
    static const char anchor = 0;
    Dl_info info{};
    if (::dladdr(&anchor, &info) == 0 || info.dli_fname == nullptr) return ".";
    const std::string file = info.dli_fname;
    const std::size_t slash = file.rfind('/');
    return slash == std::string::npos ? std::string(".") : file.substr(0, slash);
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
        const std::string path = ownFolder() + "/" + ORVENDA_RTE_WINDOW_LIBRARY_FILE_NAME;
        void* library = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
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
