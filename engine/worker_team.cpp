#include "engine/worker_team.h"

#include <system_error>
#include <utility>

namespace halvik {

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
        busyHelpers_ = static_cast<unsigned>(helpers_.size());
        ++round_;
    }
    wake_.notify_all();
    takePieces();
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
            last = --busyHelpers_ == 0;
        }
        if (last) finished_.notify_one();
    }
}

}  // namespace halvik
