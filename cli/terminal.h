// Progress on stderr: whether stderr is a terminal, the one-line progress of
// a run over several inputs, and keeping the engine's own progress line off
// stderr while it converts.
#ifndef ORVENDA_CLI_TERMINAL_H
#define ORVENDA_CLI_TERMINAL_H

#include <cstddef>
#include <iosfwd>
#include <string>

namespace orvenda::cli {

bool stderrIsTerminal();

// One line rewritten in place with a carriage return; messages printed in
// between first clear it. Does nothing when disabled.
class ProgressLine {
public:
    ProgressLine(std::ostream& out, bool enabled) : out_(out), enabled_(enabled) {}
    ~ProgressLine() { finish(); }
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;

    void show(const std::string& text);
    // Blanks the line so that a message can follow on a clean line.
    void clear();
    // Ends the line with a line feed, leaving its last text on screen.
    void finish();

private:
    std::ostream& out_;
    bool enabled_;
    std::size_t shownLength_ = 0;
};

// The text of the progress line: "[3/120] capture.MNT".
std::string progressText(std::size_t done, std::size_t total, const std::string& name);

// While alive, file descriptor 2 goes to /dev/null, so that the engine's
// progress layer sees no terminal and stays silent. Restored on destruction.
class StderrSilencer {
public:
    explicit StderrSilencer(bool active);
    ~StderrSilencer();
    StderrSilencer(const StderrSilencer&) = delete;
    StderrSilencer& operator=(const StderrSilencer&) = delete;

private:
    int saved_ = -1;
};

}  // namespace orvenda::cli

#endif
