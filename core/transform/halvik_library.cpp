#include "core/transform/halvik_library.h"

#include <dlfcn.h>

#include <utility>

#include "engine/sibling_library.h"

namespace orvenda {
namespace {

std::vector<std::string> defaultCandidates() {
    std::vector<std::string> candidates;
    const std::string folder = halvik::programFolder();
    if (!folder.empty()) candidates.push_back(folder + "/" + HALVIK_LIBRARY_FILE_NAME);
    candidates.emplace_back(HALVIK_LIBRARY_FILE_NAME);
    return candidates;
}

}  // namespace

HalvikLibrary::HalvikLibrary() : HalvikLibrary(defaultCandidates()) {}

HalvikLibrary::HalvikLibrary(std::vector<std::string> candidates) : candidates_(std::move(candidates)) {}

HalvikFunction HalvikLibrary::halvik(std::string& error) {
    if (halvik_) return halvik_;
    // The first failure is the telling one: the copy beside the program is
    // the one meant to be found.
    std::string firstError;
    for (const std::string& candidate : candidates_) {
        void* handle = dlopen(candidate.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!handle) {
            if (firstError.empty())
                firstError = "The conversion library " + std::string(HALVIK_LIBRARY_FILE_NAME) +
                             " could not be loaded: " + halvik::lastLoaderError();
            continue;
        }
        dlerror();
        void* symbol = dlsym(handle, "Halvik");
        if (!symbol) {
            error =
                "The conversion library " + candidate + " has no usable function Halvik: " + halvik::lastLoaderError();
            dlclose(handle);
            return nullptr;
        }
        halvik_ = reinterpret_cast<HalvikFunction>(symbol);
        loadedFrom_ = candidate;
        return halvik_;
    }
    error = firstError.empty() ? "The conversion library " + std::string(HALVIK_LIBRARY_FILE_NAME) +
                                     " could not be loaded: no place to look for it"
                               : firstError;
    return nullptr;
}

int32_t HalvikLibrary::convert(const HalvikArguments& arguments, const markers::MarkerStore& markers,
                               const std::string& outPath) const {
    if (!halvik_) return -1;
    return halvik_(arguments.iPath.c_str(), arguments.qPath.c_str(), arguments.inputDataType, arguments.inputFileKind,
                   markers.Marker1Points.data(), markers.Marker2Points.data(), arguments.sampleCount,
                   arguments.peakValue, &arguments.settings, outPath.c_str());
}

}  // namespace orvenda
