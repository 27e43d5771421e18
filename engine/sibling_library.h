// Finding the folder a binary lives in and loading a library that sits
// beside it: the engine loads its progress layer this way, the layer its Qt
// window, the program and the command line the engine, the benchmark too.
// Plain C and POSIX, no Qt, so every one of them can link it.
#ifndef ORVENDA_ENGINE_SIBLING_LIBRARY_H
#define ORVENDA_ENGINE_SIBLING_LIBRARY_H

#include <string>

namespace halvik {

// The running program's folder, absolute and without a trailing slash;
// empty when the system does not say.
std::string programFolder();

// The folder of the binary whose code or data holds `address`: the shared
// library it was loaded from, or the program's folder for code linked into
// the program. Falls back to the program's folder, then to ".".
std::string folderOfBinaryHolding(const void* address);

// dlopen of `folder`/`fileName` with `flags`; nullptr on failure, and then
// `error` (when given) holds the loader's reason.
void* openLibraryIn(const std::string& folder, const char* fileName, int flags, std::string* error = nullptr);

// The loader's reason for the last failure, or "unknown reason".
std::string lastLoaderError();

}  // namespace halvik

#endif
