// The engine's side of the progress window: loads the run-time layer
// libOrvendaRte.so from the engine's own folder, binds its operations by
// name and drives panel resource 1 of "Halvik.uir" through them. The engine
// never links the layer, so a process without a GUI toolkit can use it too.
#include "engine/progress_window.h"

#include <dlfcn.h>

#include <climits>
#include <cstdlib>
#include <mutex>
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

std::mutex g_testingDirectoryMutex;
std::string g_testingDirectory;  // guarded by g_testingDirectoryMutex

// The folder of the binary that holds this code: libHalvikLib.so, or a
// program that links the engine statically (the tests, the command line).
std::string engineFolder() {
    static const char anchor = 0;
    return folderOfBinaryHolding(&anchor);
}

std::string runtimeFolder() {
    {
        std::lock_guard<std::mutex> lock(g_testingDirectoryMutex);
        if (!g_testingDirectory.empty()) return g_testingDirectory;
    }
    return engineFolder();
}

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
                          bind(library, "RteDiscardPanel", bound.discardPanel) &&
                          bind(library, "RteClose", bound.close);
    if (!complete) {
        ::dlclose(library);
        return false;
    }
    layer = bound;
    return true;
}

void unloadLayer(RuntimeLayer& layer) {
    if (layer.library != nullptr) ::dlclose(layer.library);
    layer = RuntimeLayer{};
}

}  // namespace

struct ProgressWindow::Runtime {
    RuntimeLayer layer;
    std::string folder;
    bool open = false;
    int panelHandle = -1;  // negative when no panel is loaded

    bool panelLoaded() const { return open && panelHandle >= 0; }
};

ProgressWindow::ProgressWindow() : runtime_(std::make_unique<Runtime>()) {}

ProgressWindow::~ProgressWindow() { close(); }

bool ProgressWindow::initialise() {
    close();
    Runtime& r = *runtime_;
    r.folder = runtimeFolder();
    if (!loadLayer(r.folder, r.layer)) return false;
    if (r.layer.init() < 0) {
        unloadLayer(r.layer);
        return false;
    }
    r.open = true;
    return true;
}

bool ProgressWindow::loadPanel() {
    Runtime& r = *runtime_;
    if (!r.open) return false;
    const std::string panelFile = r.folder + "/" + kPanelFileName;
    r.panelHandle = r.layer.loadPanel(kTopLevelParent, panelFile.c_str(), kPanelResource);
    if (r.panelHandle < 0) {
        close();
        return false;
    }
    return true;
}

void ProgressWindow::display() {
    if (runtime_->panelLoaded()) runtime_->layer.displayPanel(runtime_->panelHandle);
}

void ProgressWindow::setStage(const char* text) {
    Runtime& r = *runtime_;
    if (!r.panelLoaded() || text == nullptr) return;
    r.layer.setCtrlAttribute(r.panelHandle, kProgressControl, RTE_ATTR_LABEL_TEXT, text);
    r.layer.processDrawEvents();
}

void ProgressWindow::setProgress(double percent) {
    if (runtime_->panelLoaded()) runtime_->layer.setCtrlVal(runtime_->panelHandle, kProgressControl, percent);
}

void ProgressWindow::close() {
    Runtime& r = *runtime_;
    if (!r.open) return;
    if (r.panelHandle >= 0) r.layer.discardPanel(r.panelHandle);
    r.panelHandle = -1;
    r.layer.close();
    r.open = false;
    unloadLayer(r.layer);
}

void setRuntimeDirectoryForTesting(const std::string& directory) {
    std::lock_guard<std::mutex> lock(g_testingDirectoryMutex);
    g_testingDirectory = directory;
}

}  // namespace halvik
