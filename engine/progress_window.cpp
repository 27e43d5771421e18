// The engine's side of the progress window: loads the run-time layer
// libOrvendaRte.so from the engine's own folder, binds its operations by
// name and drives panel resource 1 of "Halvik.uir" through them. The engine
// never links the layer, so a process without a GUI toolkit can use it too.
#include "engine/progress_window.h"

#include <dlfcn.h>

#include <string>

#include "engine/rte/rte_api.h"
#include "engine/sibling_library.h"

namespace halvik {

namespace {

constexpr const char* kPanelFileName = "Halvik.uir";
constexpr int kTopLevelParent = 0;
constexpr int kPanelResource = 1;
constexpr int kProgressControl = 2;

struct RuntimeLayer {
    void* library = nullptr;
    RteInitFunction init = nullptr;
    RteLoadPanelFunction loadPanel = nullptr;
    RteDisplayPanelFunction displayPanel = nullptr;
    RteSetCtrlAttributeFunction setCtrlAttribute = nullptr;
    RteSetCtrlValFunction setCtrlVal = nullptr;
    RteProcessDrawEventsFunction processDrawEvents = nullptr;
    RteDiscardPanelFunction discardPanel = nullptr;
    RteCloseFunction close = nullptr;
};

// Library-wide, as the run-time state is: one conversion at a time.
std::string g_testingDirectory;
RuntimeLayer g_layer;
bool g_runtimeOpen = false;
int g_panelHandle = -1;  // the progress window's handle; negative when none

// The folder of the binary that holds this code: libHalvikLib.so, or a
// program that links the engine statically (the tests, the command line).
std::string engineFolder() {
    static const char anchor = 0;
    return folderOfBinaryHolding(&anchor);
}

std::string runtimeFolder() { return g_testingDirectory.empty() ? engineFolder() : g_testingDirectory; }

template <typename Function>
bool bind(void* library, const char* name, Function& function) {
    function = reinterpret_cast<Function>(::dlsym(library, name));
    return function != nullptr;
}

bool loadLayer(const std::string& folder, RuntimeLayer& layer) {
    // Never unloaded for real: in a GUI process the layer ties itself to the
    // GUI toolkit, which does not survive code being unmapped under it.
    void* library = openLibraryIn(folder, ORVENDA_RTE_LIBRARY_FILE_NAME, RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
    if (library == nullptr) return false;
    RuntimeLayer bound;
    bound.library = library;
    const bool complete = bind(library, "RteInit", bound.init) && bind(library, "RteLoadPanel", bound.loadPanel) &&
                          bind(library, "RteDisplayPanel", bound.displayPanel) &&
                          bind(library, "RteSetCtrlAttribute", bound.setCtrlAttribute) &&
                          bind(library, "RteSetCtrlVal", bound.setCtrlVal) &&
                          bind(library, "RteProcessDrawEvents", bound.processDrawEvents) &&
                          bind(library, "RteDiscardPanel", bound.discardPanel) && bind(library, "RteClose", bound.close);
    if (!complete) {
        ::dlclose(library);
        return false;
    }
    layer = bound;
    return true;
}

void unloadLayer() {
    if (g_layer.library != nullptr) ::dlclose(g_layer.library);
    g_layer = RuntimeLayer{};
}

bool panelLoaded() { return g_runtimeOpen && g_panelHandle >= 0; }

}  // namespace

ProgressWindow::~ProgressWindow() { close(); }

bool ProgressWindow::initialise() {
    close();
    if (!loadLayer(runtimeFolder(), g_layer)) return false;
    if (g_layer.init() < 0) {
        unloadLayer();
        return false;
    }
    g_runtimeOpen = true;
    return true;
}

bool ProgressWindow::loadPanel() {
    if (!g_runtimeOpen) return false;
    const std::string panelFile = runtimeFolder() + "/" + kPanelFileName;
    g_panelHandle = g_layer.loadPanel(kTopLevelParent, panelFile.c_str(), kPanelResource);
    if (g_panelHandle < 0) {
        close();
        return false;
    }
    return true;
}

void ProgressWindow::display() {
    if (panelLoaded()) g_layer.displayPanel(g_panelHandle);
}

void ProgressWindow::setStage(const char* text) {
    if (!panelLoaded() || text == nullptr) return;
    g_layer.setCtrlAttribute(g_panelHandle, kProgressControl, RTE_ATTR_LABEL_TEXT, text);
    g_layer.processDrawEvents();
}

void ProgressWindow::setProgress(double percent) {
    if (panelLoaded()) g_layer.setCtrlVal(g_panelHandle, kProgressControl, percent);
}

void ProgressWindow::close() {
    if (!g_runtimeOpen) return;
    if (g_panelHandle >= 0) g_layer.discardPanel(g_panelHandle);
    g_panelHandle = -1;
    g_layer.close();
    g_runtimeOpen = false;
    unloadLayer();
}

void setRuntimeDirectoryForTesting(const std::string& directory) { g_testingDirectory = directory; }

}  // namespace halvik
