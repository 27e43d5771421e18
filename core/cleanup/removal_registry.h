// Files to remove when the process is stopped by a signal: temporary files
// that must not outlive the program even when it is interrupted. The list is
// fixed in size and lock-free, so a signal handler may walk it.
#ifndef ORVENDA_CORE_CLEANUP_REMOVAL_REGISTRY_H
#define ORVENDA_CORE_CLEANUP_REMOVAL_REGISTRY_H

#include <cstddef>
#include <string>

namespace orvenda::cleanup {

inline constexpr std::size_t kRemovalSlots = 64;
inline constexpr std::size_t kRemovalPathBytes = 4096;

// Adds `path`; returns its slot, or -1 when the list is full or the path too
// long (the caller then carries on without the protection). Installs the
// signal handlers where a signal still has its default action.
int registerForRemoval(const std::string& path);
// Takes the slot out of the list (the file is kept or was removed normally).
void unregisterForRemoval(int slot);

// Removes every listed file. Async-signal-safe: other signal handlers (the
// engine's output file, for instance) may call it too.
void removeRegisteredFiles() noexcept;

// SIGINT, SIGTERM and SIGHUP remove the listed files, then end the process
// as the signal would have. Idempotent; a handler the program set itself
// (not SIG_DFL) is left in place and should call removeRegisteredFiles().
void installRemovalOnSignal();

// How many slots are taken (tests).
std::size_t registeredCount();

}  // namespace orvenda::cleanup

#endif
