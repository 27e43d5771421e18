#include "engine/thread_count.h"

#include <charconv>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace halvik {

unsigned conversionThreads(int requested) {
    if (requested > 0)
        return requested > static_cast<int>(kMaxThreads) ? kMaxThreads : static_cast<unsigned>(requested);
    if (const char* text = std::getenv("HALVIK_THREADS")) {
        unsigned value = 0;
        const char* end = text + std::strlen(text);
        auto [stop, error] = std::from_chars(text, end, value);
        if (error == std::errc() && stop == end && value >= 1 && value <= kMaxThreads) return value;
    }
    unsigned cores = std::thread::hardware_concurrency();
    if (cores == 0) return 1;
    return cores > kMaxThreads ? kMaxThreads : cores;
}

bool benchReferenceRequested() {
    const char* text = std::getenv("HALVIK_BENCH_REFERENCE");
    return text != nullptr && std::strcmp(text, "1") == 0;
}

}  // namespace halvik
