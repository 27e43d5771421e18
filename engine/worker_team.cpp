#include "engine/worker_team.h"

#include <system_error>
#include <utility>

namespace halvik {
namespace {

// Rounds follow each other within microseconds during a conversion, while a
// sleeping thread takes tens of microseconds to wake: a thread first watches
// for the next round (or the round's end) this many times before it sleeps.
constexpr int kSpins = 4000;

inline void pause() {
#if defined(__x86_64__) || defined(__i386__)
    __builtin_ia32_pause();
#else
    std::this_thread::yield();
#endif
}

template <typename Condition>
void spinUntil(Condition done) {
    for (int spin = 0; spin < kSpins && !done(); ++spin) pause();
}

}  // namespace

WorkerTeam::WorkerTeam(unsigned threads) {
    for (unsigned k = 1; k < threads; ++k) {
        try {
            helpers_.emplace_back([this] { helperLoop(); });
        } catch (const std::system_error&) {
            break;  // fewer threads, same result
        }
    }
}

WorkerTeam::~WorkerTeam() {
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    wake_.notify_all();
    for (std::thread& helper : helpers_) helper.join();
}

void WorkerTeam::run(std::size_t pieces, const std::function<void(std::size_t)>& work) {
    if (helpers_.empty() || pieces <= 1) {
        for (std::size_t piece = 0; piece < pieces; ++piece) work(piece);
        return;
    }
    {
        std::lock_guard lock(mutex_);
        work_ = &work;
        pieces_ = pieces;
        next_.store(0, std::memory_order_relaxed);
        busyHelpers_.store(static_cast<unsigned>(helpers_.size()));
        round_.fetch_add(1);
    }
    wake_.notify_all();
    takePieces();
    spinUntil([this] { return busyHelpers_.load() == 0; });
    std::unique_lock lock(mutex_);
    finished_.wait(lock, [this] { return busyHelpers_ == 0; });
    work_ = nullptr;
    if (failure_) std::rethrow_exception(std::exchange(failure_, nullptr));
}

void WorkerTeam::takePieces() {
    try {
        for (std::size_t piece = next_.fetch_add(1); piece < pieces_; piece = next_.fetch_add(1)) (*work_)(piece);
    } catch (...) {
        next_.store(pieces_);  // no further pieces
        std::lock_guard lock(mutex_);
        if (!failure_) failure_ = std::current_exception();
    }
}

void WorkerTeam::helperLoop() {
    unsigned long seen = 0;
    for (;;) {
        spinUntil([&] { return round_.load() != seen; });
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [&] { return stopping_ || round_ != seen; });
            if (stopping_) return;
            seen = round_;
        }
        takePieces();
        bool last = false;
        {
            std::lock_guard lock(mutex_);
            last = busyHelpers_.fetch_sub(1) == 1;
        }
        if (last) finished_.notify_one();
    }
}

}  // namespace halvik
