#include "core/cleanup/removal_registry.h"

#include <signal.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cstring>
#include <mutex>

namespace orvenda::cleanup {
namespace {

enum SlotState : int { kFree = 0, kWriting = 1, kArmed = 2 };

struct Slot {
    std::atomic<int> state{kFree};
    char path[kRemovalPathBytes]{};
};

// Constant-initialized, so a signal handler never meets it half built.
constinit std::array<Slot, kRemovalSlots> gSlots{};

std::array<Slot, kRemovalSlots>& slots() { return gSlots; }

constexpr std::array<int, 3> kSignals{SIGINT, SIGTERM, SIGHUP};

extern "C" void removeAndReraise(int signalNumber) {
    removeRegisteredFiles();
    // The default action, so the exit status tells which signal ended us.
    struct sigaction action {};
    action.sa_handler = SIG_DFL;
    sigemptyset(&action.sa_mask);
    sigaction(signalNumber, &action, nullptr);
    raise(signalNumber);
}

}  // namespace

void installRemovalOnSignal() {
    static std::mutex installing;
    std::lock_guard<std::mutex> lock(installing);
    for (int signalNumber : kSignals) {
        struct sigaction current {};
        if (sigaction(signalNumber, nullptr, &current) != 0) continue;
        // Ignored signals stay ignored; a program's own handler stays its own.
        if ((current.sa_flags & SA_SIGINFO) != 0 || current.sa_handler != SIG_DFL) continue;
        struct sigaction action {};
        action.sa_handler = removeAndReraise;
        sigemptyset(&action.sa_mask);
        sigaction(signalNumber, &action, nullptr);
    }
}

int registerForRemoval(const std::string& path) {
    if (path.empty() || path.size() >= kRemovalPathBytes) return -1;
    installRemovalOnSignal();
    for (std::size_t k = 0; k < kRemovalSlots; ++k) {
        Slot& slot = slots()[k];
        int expected = kFree;
        if (!slot.state.compare_exchange_strong(expected, kWriting)) continue;
        std::memcpy(slot.path, path.c_str(), path.size() + 1);
        slot.state.store(kArmed, std::memory_order_release);
        return static_cast<int>(k);
    }
    return -1;
}

void unregisterForRemoval(int slot) {
    if (slot < 0 || static_cast<std::size_t>(slot) >= kRemovalSlots) return;
    slots()[static_cast<std::size_t>(slot)].state.store(kFree, std::memory_order_release);
}

void removeRegisteredFiles() noexcept {
    for (Slot& slot : slots()) {
        if (slot.state.load(std::memory_order_acquire) == kArmed) unlink(slot.path);
    }
}

std::size_t registeredCount() {
    std::size_t count = 0;
    for (Slot& slot : slots()) count += slot.state.load() != kFree;
    return count;
}

}  // namespace orvenda::cleanup
