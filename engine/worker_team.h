// The threads of one conversion. run() hands out numbered pieces of work to
// the caller's thread and the helpers; which thread takes a piece varies, so
// callers give every piece its own output and combine them in piece order:
// the result is then the same for any number of threads.
#ifndef ORVENDA_ENGINE_WORKER_TEAM_H
#define ORVENDA_ENGINE_WORKER_TEAM_H

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <exception>
#include <functional>
#include <mutex>
#include <thread>
#include <vector>

namespace halvik {

class WorkerTeam {
public:
    // Starts threads - 1 helpers (fewer when the system refuses more); 0 and 1
    // mean the caller's thread alone.
    explicit WorkerTeam(unsigned threads);
    ~WorkerTeam();
    WorkerTeam(const WorkerTeam&) = delete;
    WorkerTeam& operator=(const WorkerTeam&) = delete;

    unsigned size() const { return static_cast<unsigned>(helpers_.size()) + 1; }

    // Calls work(piece) once for every piece in 0..pieces-1 and returns when
    // all are done. If a piece throws, the remaining pieces are skipped and
    // the first exception is rethrown here, on the caller's thread.
    void run(std::size_t pieces, const std::function<void(std::size_t)>& work);

private:
    void helperLoop();
    void takePieces();

    std::vector<std::thread> helpers_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::condition_variable finished_;
    const std::function<void(std::size_t)>* work_ = nullptr;
    std::size_t pieces_ = 0;
    std::atomic<std::size_t> next_{0};
    std::exception_ptr failure_;  // the first exception of this round
    // Changed under mutex_ (so that sleepers miss no wake-up) but read
    // without it while spinning.
    std::atomic<unsigned> busyHelpers_{0};
    std::atomic<unsigned long> round_{0};
    bool stopping_ = false;
};

}  // namespace halvik

#endif
