#include "gui/views/background_job.h"

#include <QMetaObject>

namespace orvenda::views {

BackgroundJob::BackgroundJob(QObject* parent) : QObject(parent) {}

BackgroundJob::~BackgroundJob() { stopThread(); }

void BackgroundJob::stopThread() {
    if (cancel_) cancel_->store(true);
    if (thread_.joinable()) thread_.join();
}

void BackgroundJob::start(Work work) {
    stopThread();
    const unsigned generation = ++generation_;
    cancel_ = std::make_shared<std::atomic<bool>>(false);
    threadRunning_ = std::make_shared<std::atomic<bool>>(true);
    // `this` outlives the thread: the destructor joins it.
    thread_ = std::thread([this, generation, work = std::move(work), cancel = cancel_, runningFlag = threadRunning_] {
        analysis::AnalysisControl control;
        control.cancel = cancel.get();
        control.progress = [this, generation](double fraction) {
            // Queued to the GUI thread; dropped when the job is gone (Qt
            // discards calls to a deleted context object) or replaced.
            QMetaObject::invokeMethod(
                this,
                [this, generation, fraction] {
                    if (generation == generation_) emit progressed(fraction);
                },
                Qt::QueuedConnection);
        };
        Finish finish = work(control);
        const bool cancelled = cancel->load();
        runningFlag->store(false);
        if (cancelled) return;  // cancel() already announced the end
        QMetaObject::invokeMethod(
            this,
            [this, generation, finish = std::move(finish)] {
                if (generation != generation_) return;
                if (finish) finish();
                emit ended();
            },
            Qt::QueuedConnection);
    });
}

void BackgroundJob::cancel() {
    if (!cancel_ || cancel_->load() || !running()) return;
    cancel_->store(true);
    ++generation_;  // whatever is still queued is stale now
    emit ended();
}

}  // namespace orvenda::views
