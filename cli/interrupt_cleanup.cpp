#include "cli/interrupt_cleanup.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstddef>
#include <cstring>
#include <optional>

#include "cli/command_line.h"
#include "core/cleanup/removal_registry.h"
#include "engine/output_file.h"

namespace orvenda::cli {
namespace {

constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};

// What the handler needs of the conversion in progress, prepared before it
// starts, so that the handler itself allocates nothing.
struct InProgress {
    int folder = -1;  // the output's folder, open for listing
    char prefix[512] = {};
    std::size_t prefixLength = 0;
    char output[1024] = {};  // the output's name as given, for the message (cut when longer)
    std::size_t outputLength = 0;
};

InProgress g_inProgress;
std::atomic<bool> g_active{false};  // g_inProgress describes a running conversion
bool g_terminal = false;
// stderr as it was at start: during a call the engine's stderr may be
// silenced (sent to /dev/null), the interruption is still told.
int g_messageFd = STDERR_FILENO;

static_assert(std::atomic<bool>::is_always_lock_free, "read in a signal handler");

// The batch's children now converting (0: a free slot); at most one per
// allowed job.
constexpr std::size_t kMaxChildren = 256;
std::atomic<pid_t> g_children[kMaxChildren];
bool g_isChild = false;  // this process converts for a parent, which reports
static_assert(std::atomic<pid_t>::is_always_lock_free, "read in a signal handler");

// Passes the signal on to the running children and waits until each has
// removed its temporary file and ended.
void stopChildren(int signal) {
    for (std::atomic<pid_t>& slot : g_children) {
        const pid_t child = slot.load(std::memory_order_acquire);
        if (child > 0) ::kill(child, signal);
    }
    for (std::atomic<pid_t>& slot : g_children) {
        const pid_t child = slot.load(std::memory_order_acquire);
        if (child <= 0) continue;
        while (::waitpid(child, nullptr, 0) < 0 && errno == EINTR) {}
        slot.store(0, std::memory_order_release);
    }
}

class Line {
public:
    void add(const char* text, std::size_t length) {
        length = length < sizeof text_ - used_ ? length : sizeof text_ - used_;
        std::memcpy(text_ + used_, text, length);
        used_ += length;
    }
    void add(const char* text) { add(text, std::strlen(text)); }
    void write() const {
        std::size_t done = 0;
        while (done < used_) {
            const ssize_t n = ::write(g_messageFd, text_ + done, used_ - done);
            if (n <= 0) return;
            done += static_cast<std::size_t>(n);
        }
    }

private:
    char text_[2048];
    std::size_t used_ = 0;
};

bool isTemporaryName(const char* name) {
    if (std::strncmp(name, g_inProgress.prefix, g_inProgress.prefixLength) != 0) return false;
    const char* counter = name + g_inProgress.prefixLength;
    if (*counter == '\0') return false;
    for (; *counter != '\0'; ++counter) {
        if (*counter < '0' || *counter > '9') return false;
    }
    return true;
}

// Removes this process's temporary files of the output in progress; the
// number removed. A pass that removes something is followed by another, as
// removing entries may move others in the listing.
int removeTemporaryFiles() {
    const int folder = g_inProgress.folder;
    if (folder < 0) return 0;
    int removed = 0;
    for (int pass = 0; pass < 4; ++pass) {
        if (::lseek(folder, 0, SEEK_SET) != 0) break;
        int removedNow = 0;
        alignas(dirent64) char buffer[8192];
        ssize_t length;
        while ((length = ::getdents64(folder, buffer, sizeof buffer)) > 0) {
            for (ssize_t offset = 0; offset < length;) {
                const auto* entry = reinterpret_cast<const dirent64*>(buffer + offset);
                if (isTemporaryName(entry->d_name) && ::unlinkat(folder, entry->d_name, 0) == 0) ++removedNow;
                offset += entry->d_reclen;
            }
        }
        removed += removedNow;
        if (removedNow == 0) break;
    }
    return removed;
}

const char* signalName(int signal) {
    switch (signal) {
    case SIGINT: return "SIGINT";
    case SIGTERM: return "SIGTERM";
    default: return "SIGHUP";
    }
}

void onInterrupt(int signal) {
    const int savedErrno = errno;
    const bool active = g_active.load(std::memory_order_acquire);
    const int removed = active ? removeTemporaryFiles() : 0;
    // A recording's temporary samples, if one is being converted.
    cleanup::removeRegisteredFiles();
    if (!g_isChild) stopChildren(signal);

    Line line;
    if (g_terminal) line.add("\n");
    line.add(kProgramName);
    line.add(": conversion interrupted (");
    line.add(signalName(signal));
    line.add(")");
    if (removed > 0) {
        line.add("; \"");
        line.add(g_inProgress.output, g_inProgress.outputLength);
        line.add("\" was not written");
    }
    line.add("\n");
    if (!g_isChild) line.write();

    // End by the signal itself, so that the parent sees how the program ended.
    struct sigaction standard {};
    standard.sa_handler = SIG_DFL;
    ::sigemptyset(&standard.sa_mask);
    ::sigaction(signal, &standard, nullptr);
    sigset_t only;
    ::sigemptyset(&only);
    ::sigaddset(&only, signal);
    ::sigprocmask(SIG_UNBLOCK, &only, nullptr);
    ::raise(signal);
    errno = savedErrno;
    ::_exit(128 + signal);
}

}  // namespace

void installInterruptCleanup(bool terminal) {
    g_terminal = terminal;
    const int messageFd = ::fcntl(STDERR_FILENO, F_DUPFD_CLOEXEC, 3);
    if (messageFd >= 0) g_messageFd = messageFd;
    struct sigaction action {};
    action.sa_handler = onInterrupt;
    ::sigemptyset(&action.sa_mask);
    for (int signal : kSignals) ::sigaddset(&action.sa_mask, signal);  // one handler at a time
    for (int signal : kSignals) ::sigaction(signal, &action, nullptr);
}

InterruptsHeld::InterruptsHeld() {
    sigset_t held;
    ::sigemptyset(&held);
    for (int signal : kSignals) ::sigaddset(&held, signal);
    ::sigprocmask(SIG_BLOCK, &held, &previous_);
}

InterruptsHeld::~InterruptsHeld() { ::sigprocmask(SIG_SETMASK, &previous_, nullptr); }

void conversionChildStarted(pid_t child) {
    for (std::atomic<pid_t>& slot : g_children) {
        pid_t free = 0;
        if (slot.compare_exchange_strong(free, child, std::memory_order_acq_rel)) return;
    }
}

void conversionChildEnded(pid_t child) {
    for (std::atomic<pid_t>& slot : g_children) {
        pid_t running = child;
        if (slot.compare_exchange_strong(running, 0, std::memory_order_acq_rel)) return;
    }
}

void becomeConversionChild() {
    g_isChild = true;
    for (std::atomic<pid_t>& slot : g_children) slot.store(0, std::memory_order_relaxed);
}

ConversionInProgress::ConversionInProgress(const std::string& outputPath) {
    InProgress& p = g_inProgress;
    const std::optional<halvik::TemporaryName> name = halvik::temporaryNameFor(outputPath, ::getpid());
    if (name && name->prefix.size() < sizeof p.prefix) {
        p.folder = ::open(name->folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        std::memcpy(p.prefix, name->prefix.c_str(), name->prefix.size() + 1);
        p.prefixLength = name->prefix.size();
    }
    p.outputLength = outputPath.size() < sizeof p.output ? outputPath.size() : sizeof p.output;
    std::memcpy(p.output, outputPath.data(), p.outputLength);
    g_active.store(true, std::memory_order_release);
}

ConversionInProgress::~ConversionInProgress() {
    g_active.store(false, std::memory_order_release);
    if (g_inProgress.folder >= 0) ::close(g_inProgress.folder);
    g_inProgress = InProgress{};
}

}  // namespace orvenda::cli
