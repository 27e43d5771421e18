// Several conversions at once, each in a child process of its own: the
// engine's state stays per conversion, a crash takes one input with it, and
// the messages of one input are gathered and printed together, in the order
// the inputs were given, never interleaved with another's.
#ifndef ORVENDA_CLI_CHILD_JOBS_H
#define ORVENDA_CLI_CHILD_JOBS_H

#include <cstddef>
#include <functional>
#include <iosfwd>
#include <string>

namespace orvenda::cli {

struct ChildOutcome {
    bool ok = false;
    std::string messages;  // everything the job wrote to its stream
};

// Runs job(k, messages) for k = 0..count-1 in at most `parallel` child
// processes at a time; job returns true on success. finished(k, outcome) is
// called in this process for k = 0, 1, 2, ... in order, each as soon as job k
// and every job before it are done. A job whose child cannot be started runs
// here instead.
void runInChildProcesses(std::size_t count, unsigned parallel,
                         const std::function<bool(std::size_t, std::ostream&)>& job,
                         const std::function<void(std::size_t, const ChildOutcome&)>& finished);

// Threads for each of `parallel` conversions sharing `threads` (at least 1).
unsigned threadsPerJob(unsigned threads, unsigned parallel);

// The threads one conversion may use: HALVIK_THREADS when set to 1..256,
// otherwise the number of cores.
unsigned defaultThreads();

}  // namespace orvenda::cli

#endif
