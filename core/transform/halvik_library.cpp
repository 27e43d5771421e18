#include "core/transform/halvik_library.h"

#include <dlfcn.h>

#include <filesystem>
#include <system_error>
#include <utility>

namespace orvenda {
namespace {

std::string lastDlError() {
    const char* text = dlerror();
    return text ? std::string(text) : std::string("unknown reason");
}

std::vector<std::string> defaultCandidates() {
    std::vector<std::string> candidates;
    const std::string folder = programDirectory();
    if (!folder.empty())
        candidates.push_back(folder + "/" + HALVIK_LIBRARY_FILE_NAME);
    candidates.emplace_back(HALVIK_LIBRARY_FILE_NAME);
    return candidates;
}

}  // namespace

std::string programDirectory() {
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error)
        return {};
    return program.parent_path().string();
}

HalvikLibrary::HalvikLibrary() : HalvikLibrary(defaultCandidates()) {}

HalvikLibrary::HalvikLibrary(std::vector<std::string> candidates) : candidates_(std::move(candidates)) {}

HalvikFunction HalvikLibrary::halvik(std::string& error) {
    if (halvik_)
        return halvik_;
    // The first failure is the telling one: the copy beside the program is
    // the one meant to be found.
    std::string firstError;
    for (const std::string& candidate : candidates_) {
        void* handle = dlopen(candidate.c_str(), RTLD_NOW | RTLD_LOCAL);
        if (!handle) {
            if (firstError.empty())
                firstError = "The conversion library " + std::string(HALVIK_LIBRARY_FILE_NAME) +
                             " could not be loaded: " + lastDlError();
            continue;
        }
        dlerror();
        void* symbol = dlsym(handle, "Halvik");
        if (!symbol) {
            error = "The conversion library " + candidate + " has no usable function Halvik: " + lastDlError();
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

}  // namespace orvenda
