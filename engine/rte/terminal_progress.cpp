#include "engine/rte/terminal_progress.h"

#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>

namespace halvik::rte {

namespace {
constexpr std::size_t kMaxStageChars = 60;
std::atomic<bool> g_lineClaimed{false};
}  // namespace

std::unique_ptr<TerminalProgress> TerminalProgress::claim(int fd) {
    bool expected = false;
    if (!g_lineClaimed.compare_exchange_strong(expected, true)) return nullptr;
    auto line = std::make_unique<TerminalProgress>(fd);
    line->claimed_ = true;
    return line;
}

std::string progressLine(const std::string& text, int percent) {
    std::string line;
    for (char c : text.substr(0, kMaxStageChars)) {
        const auto u = static_cast<unsigned char>(c);
        line.push_back(u < 0x20 || u == 0x7F ? ' ' : c);
    }
    char number[8];
    std::snprintf(number, sizeof number, "%3d%%", percent);
    if (!line.empty()) line.push_back(' ');
    return line + number;
}

TerminalProgress::~TerminalProgress() {
    if (rendered_) writeAll("\n");
    if (claimed_) g_lineClaimed.store(false);
}

void TerminalProgress::show() {
    shown_ = true;
    render();
}

void TerminalProgress::showText(int, const std::string& text) {
    text_ = text;
    render();
}

void TerminalProgress::showPercent(int, int percent) {
    percent_ = percent;
    render();
}

void TerminalProgress::render() {
    if (!shown_) return;
    std::string line = progressLine(text_, percent_);
    const std::size_t length = line.size();
    // Blanks over the rest of a longer previous line.
    if (length < lastLength_) line.append(lastLength_ - length, ' ');
    writeAll("\r" + line);
    lastLength_ = length;
    rendered_ = true;
}

void TerminalProgress::writeAll(const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd_, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return;  // the progress line is a courtesy: never fail the work for it
        done += static_cast<std::size_t>(n);
    }
}

}  // namespace halvik::rte
