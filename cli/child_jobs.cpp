#include "cli/child_jobs.h"

#include "cli/interrupt_cleanup.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <map>
#include <sstream>
#include <thread>
#include <vector>

namespace orvenda::cli {
namespace {

struct Running {
    pid_t pid = -1;
    int output = -1;  // read end of the child's message pipe
    std::string messages;
};

void writeAll(int descriptor, const std::string& text) {
    const char* data = text.data();
    std::size_t left = text.size();
    while (left != 0) {
        ssize_t step = ::write(descriptor, data, left);
        if (step < 0 && errno == EINTR) continue;
        if (step <= 0) return;
        data += step;
        left -= static_cast<std::size_t>(step);
    }
}

bool waitFor(pid_t pid) {
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0) {
        if (errno != EINTR) return false;
    }
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace

unsigned defaultThreads() {
    if (const char* text = std::getenv("HALVIK_THREADS")) {
        char* end = nullptr;
        long value = std::strtol(text, &end, 10);
        if (end != text && *end == '\0' && value >= 1 && value <= 256) return static_cast<unsigned>(value);
    }
    unsigned cores = std::thread::hardware_concurrency();
    return cores == 0 ? 1 : cores;
}

unsigned threadsPerJob(unsigned threads, unsigned parallel) {
    if (parallel == 0) parallel = 1;
    return threads / parallel > 0 ? threads / parallel : 1;
}

void runInChildProcesses(std::size_t count, unsigned parallel,
                         const std::function<bool(std::size_t, std::ostream&)>& job,
                         const std::function<void(std::size_t, const ChildOutcome&)>& finished) {
    if (parallel == 0) parallel = 1;
    std::map<std::size_t, Running> running;
    std::map<std::size_t, ChildOutcome> done;
    std::size_t next = 0;
    std::size_t reported = 0;

    auto reportInOrder = [&] {
        for (auto first = done.find(reported); first != done.end(); first = done.find(reported)) {
            finished(reported, first->second);
            done.erase(first);
            ++reported;
        }
    };
    auto runHere = [&](std::size_t k) {
        std::ostringstream messages;
        bool ok = job(k, messages);
        done[k] = ChildOutcome{ok, messages.str()};
    };

    while (reported < count) {
        while (next < count && running.size() < parallel) {
            const std::size_t k = next++;
            int pipeFds[2];
            if (::pipe2(pipeFds, O_CLOEXEC) != 0) {
                runHere(k);
                continue;
            }
            const pid_t pid = ::fork();
            if (pid < 0) {
                ::close(pipeFds[0]);
                ::close(pipeFds[1]);
                runHere(k);
                continue;
            }
            if (pid == 0) {
                ::close(pipeFds[0]);
                std::ostringstream messages;
                bool ok = job(k, messages);
                writeAll(pipeFds[1], messages.str());
                ::_exit(ok ? 0 : 1);  // no exit handlers or buffers of the parent run twice
            }
            ::close(pipeFds[1]);
            addChildProcess(pid);
            running[k] = Running{pid, pipeFds[0], {}};
        }
        reportInOrder();
        if (running.empty()) continue;

        std::vector<pollfd> watched;
        std::vector<std::size_t> jobs;
        for (auto& [k, child] : running) {
            watched.push_back(pollfd{child.output, POLLIN, 0});
            jobs.push_back(k);
        }
        if (::poll(watched.data(), watched.size(), -1) < 0 && errno != EINTR) break;
        for (std::size_t w = 0; w < watched.size(); ++w) {
            if (watched[w].revents == 0) continue;
            Running& child = running[jobs[w]];
            char buffer[4096];
            ssize_t got = ::read(child.output, buffer, sizeof buffer);
            if (got < 0 && errno == EINTR) continue;
            if (got > 0) {
                child.messages.append(buffer, static_cast<std::size_t>(got));
                continue;
            }
            ::close(child.output);  // end of the messages: the child is leaving
            bool ok = waitFor(child.pid);
            removeChildProcess(child.pid);
            done[jobs[w]] = ChildOutcome{ok, std::move(child.messages)};
            running.erase(jobs[w]);
        }
        reportInOrder();
    }
    for (auto& [k, child] : running) {  // only after a failed poll
        ::close(child.output);
        waitFor(child.pid);
        removeChildProcess(child.pid);
    }
}

}  // namespace orvenda::cli
