#include "engine/sibling_library.h"

#include <dlfcn.h>
#include <link.h>

#include <climits>
#include <cstdlib>

namespace halvik {
namespace {

std::string folderOf(const std::string& file) {
    const std::size_t slash = file.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? std::string("/") : file.substr(0, slash);
}

// Empty when the path cannot be resolved.
std::string absolute(const char* path) {
    char resolved[PATH_MAX];
    return ::realpath(path, resolved) != nullptr ? std::string(resolved) : std::string();
}

}  // namespace

std::string programFolder() {
    const std::string program = absolute("/proc/self/exe");
    return program.empty() ? std::string() : folderOf(program);
}

std::string folderOfBinaryHolding(const void* address) {
    Dl_info info{};
    link_map* map = nullptr;
    std::string file;
    // The main program's entry has an empty name: it is found through /proc.
    if (::dladdr1(address, &info, reinterpret_cast<void**>(&map), RTLD_DL_LINKMAP) != 0 && map != nullptr &&
        map->l_name != nullptr && map->l_name[0] != '\0') {
        file = absolute(map->l_name);
        if (file.empty()) file = map->l_name;
    }
    if (file.empty()) {
        const std::string program = programFolder();
        return program.empty() ? std::string(".") : program;
    }
    return folderOf(file);
}

std::string lastLoaderError() {
    const char* text = ::dlerror();
    return text != nullptr ? std::string(text) : std::string("unknown reason");
}

void* openLibraryIn(const std::string& folder, const char* fileName, int flags, std::string* error) {
    const std::string path = folder + "/" + fileName;
    void* library = ::dlopen(path.c_str(), flags);
    if (library == nullptr && error != nullptr) *error = lastLoaderError();
    return library;
}

}  // namespace halvik
