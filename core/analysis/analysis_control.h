// Cancelling and following a long analysis.
#ifndef ORVENDA_CORE_ANALYSIS_ANALYSIS_CONTROL_H
#define ORVENDA_CORE_ANALYSIS_ANALYSIS_CONTROL_H

#include <atomic>
#include <functional>
#include <string>

namespace orvenda::analysis {

struct AnalysisControl {
    // Set from any thread to stop; checked at least every 65,536 samples per
    // worker, so a stop takes effect within a few milliseconds.
    const std::atomic<bool>* cancel = nullptr;
    // Fraction done, 0 .. 1, rising; called on the thread that called the
    // analysis function, at most about 200 times per run. May be empty.
    std::function<void(double fraction)> progress;

    bool cancelled() const { return cancel != nullptr && cancel->load(std::memory_order_relaxed); }
};

enum class Outcome { Done, Cancelled, Failed };

// How a computation ended; error is set for Failed.
struct Status {
    Outcome outcome = Outcome::Done;
    std::string error;
    bool done() const { return outcome == Outcome::Done; }
};

}  // namespace orvenda::analysis

#endif
