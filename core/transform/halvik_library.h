// Loads the conversion library libHalvikLib.so by name and binds its export
// Halvik, once; the binding is kept for the rest of the run (the library is
// never unloaded, as the engine's progress layer stays loaded with it).
// Plain C++ so that the command line loads the engine the same way.
#ifndef ORVENDA_GUI_MAIN_WINDOW_HALVIK_LIBRARY_H
#define ORVENDA_GUI_MAIN_WINDOW_HALVIK_LIBRARY_H

#include <string>
#include <vector>

#include "common/halvik_api.h"
#include "core/markers/marker_store.h"
#include "core/transform/settings_record.h"

namespace orvenda {

class HalvikLibrary {
public:
    // Where to look, in order: the library beside the running program (the
    // build tree's bin folder and the installed bin folder alike), then the
    // plain file name through the system's search path.
    HalvikLibrary();
    // Tests name their own candidates (full paths or plain names).
    explicit HalvikLibrary(std::vector<std::string> candidates);

    // Halvik, loading the library at the first call. On failure: nullptr, and
    // `error` tells which library or export could not be loaded and why; the
    // next call tries again.
    HalvikFunction halvik(std::string& error);
    bool isBound() const { return halvik_ != nullptr; }
    // One conversion through the bound Halvik: the planned arguments, the
    // two marker lists and the output path (the file system's encoding).
    // Halvik's result; -1 when nothing is bound yet.
    int32_t convert(const HalvikArguments& arguments, const markers::MarkerStore& markers,
                    const std::string& outPath) const;
    // The file the binding came from (empty while unbound).
    const std::string& loadedFrom() const { return loadedFrom_; }

private:
    std::vector<std::string> candidates_;
    HalvikFunction halvik_ = nullptr;
    std::string loadedFrom_;
};

}  // namespace orvenda

#endif
