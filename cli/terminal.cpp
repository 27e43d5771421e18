#include "cli/terminal.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <ostream>

namespace orvenda::cli {

bool stderrIsTerminal() { return ::isatty(STDERR_FILENO) == 1; }

void ProgressLine::show(const std::string& text) {
    if (!enabled_) return;
    // Pad over the remains of a longer earlier text.
    std::string line = "\r" + text;
    if (text.size() < shownLength_) line += std::string(shownLength_ - text.size(), ' ');
    out_ << line << std::flush;
    shownLength_ = text.size();
}

void ProgressLine::clear() {
    if (!enabled_ || shownLength_ == 0) return;
    out_ << '\r' << std::string(shownLength_, ' ') << '\r' << std::flush;
    shownLength_ = 0;
}

void ProgressLine::finish() {
    if (!enabled_ || shownLength_ == 0) return;
    out_ << '\n' << std::flush;
    shownLength_ = 0;
}

std::string progressText(std::size_t done, std::size_t total, const std::string& name) {
    std::string text = "[";
    text += std::to_string(done) + "/" + std::to_string(total) + "] " + name;
    return text;
}

StderrSilencer::StderrSilencer(bool active) {
    if (!active) return;
    std::fflush(stderr);
    int null = ::open("/dev/null", O_WRONLY | O_CLOEXEC);
    if (null < 0) return;
    saved_ = ::fcntl(STDERR_FILENO, F_DUPFD_CLOEXEC, 3);
    if (saved_ >= 0 && ::dup2(null, STDERR_FILENO) < 0) {
        ::close(saved_);
        saved_ = -1;
    }
    ::close(null);
}

StderrSilencer::~StderrSilencer() {
    if (saved_ < 0) return;
    std::fflush(stderr);
    ::dup2(saved_, STDERR_FILENO);
    ::close(saved_);
}

}  // namespace orvenda::cli
