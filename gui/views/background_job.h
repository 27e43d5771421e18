// One computation at a time off the GUI thread, with progress and Cancel.
// The work runs on a thread of its own and returns what the GUI thread
// should then do; that step runs on the GUI thread unless the job was
// cancelled or replaced meanwhile, so a stale result never reaches a view.
#ifndef ORVENDA_GUI_VIEWS_BACKGROUND_JOB_H
#define ORVENDA_GUI_VIEWS_BACKGROUND_JOB_H

#include <QObject>
#include <atomic>
#include <functional>
#include <memory>
#include <thread>

#include "core/analysis/analysis_control.h"

namespace orvenda::views {

class BackgroundJob : public QObject {
    Q_OBJECT
public:
    using Finish = std::function<void()>;
    using Work = std::function<Finish(const analysis::AnalysisControl&)>;

    explicit BackgroundJob(QObject* parent = nullptr);
    ~BackgroundJob() override;  // cancels and waits for the thread

    // Cancels a running job (its result is dropped) and starts `work`.
    void start(Work work);
    // Asks the work to stop; its result is dropped.
    void cancel();
    // True from start() until the work has returned (or the job was cancelled
    // and its thread has ended).
    bool running() const { return threadRunning_ && threadRunning_->load(); }

signals:
    void progressed(double fraction);
    // The finish step ran, or the work was cancelled: the job is idle.
    void ended();

private:
    void stopThread();

    std::thread thread_;
    std::shared_ptr<std::atomic<bool>> cancel_;
    std::shared_ptr<std::atomic<bool>> threadRunning_;
    unsigned generation_ = 0;
};

}  // namespace orvenda::views

#endif
