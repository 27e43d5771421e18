// The progress window of one conversion. It is shown through the run-time
// layer libOrvendaRte.so, which the engine loads at run time from its own
// folder, so that the engine itself never links a GUI toolkit.
//
// Every window keeps its own binding of the layer, run-time initialisation
// and panel handle, so conversions on several threads each have their own
// window; the layer counts the initialisations and guards its shared parts.
#ifndef ORVENDA_ENGINE_PROGRESS_WINDOW_H
#define ORVENDA_ENGINE_PROGRESS_WINDOW_H

#include <memory>
#include <string>

namespace halvik {

class ProgressWindow {
public:
    ProgressWindow();
    ProgressWindow(const ProgressWindow&) = delete;
    ProgressWindow& operator=(const ProgressWindow&) = delete;
    ~ProgressWindow();  // discards the panel and closes the run-time if still open

    // Loads the layer and initialises its run-time; false when either fails.
    bool initialise();
    // Loads panel resource 1 from "Halvik.uir" beside the library; false on a
    // negative handle, in which case the run-time has been closed again.
    bool loadPanel();
    void display();
    // Shows the stage text on control 2 and redraws.
    void setStage(const char* text);
    // Shows the percentage (0..100) on control 2.
    void setProgress(double percent);
    // Discards the panel and closes the run-time; safe to call twice.
    void close();

private:
    struct Runtime;  // the bound layer, whether it is open, the panel handle
    std::unique_ptr<Runtime> runtime_;
};

// Tests point the engine at another folder for the layer and the panel file.
// An empty path restores the default (the folder of the loaded engine).
// Windows initialised afterwards use it.
void setRuntimeDirectoryForTesting(const std::string& directory);

}  // namespace halvik

#endif
