// What orvenda-cli does when SIGINT, SIGTERM or SIGHUP stops a conversion:
// the temporary file that HalvikLib is writing beside the output is removed
// (any earlier file of the output's name stays as it was, and outputs
// already written stay written), one line says that the conversion was
// interrupted, and the program ends by that signal, so the shell reports
// 130, 143 or 129 and a script loop around it stops too.
//
// The library writes the temporary file itself and tells nobody its name,
// but the name follows a fixed rule (halvik::temporaryNameFor): "." + the
// output's name + ".tmp" + this process's id + "-" + a counter, in the
// output's folder. The handler lists that folder and removes what matches;
// it uses only async-signal-safe calls. A process runs one conversion at a
// time, and the library starts its helper threads only once the temporary
// file exists, so while the handler runs no new temporary file can appear.
//
// A batch converts in child processes (one conversion each). The parent
// passes the signal on to the children it has running and waits for them;
// each child removes its own temporary file and ends quietly; the parent
// prints the one line and ends by the signal. A terminal's Ctrl-C reaches
// them all at once, which comes to the same.
#ifndef ORVENDA_CLI_INTERRUPT_CLEANUP_H
#define ORVENDA_CLI_INTERRUPT_CLEANUP_H

#include <signal.h>
#include <sys/types.h>

#include <string>

namespace orvenda::cli {

// Installs the handler for SIGINT, SIGTERM and SIGHUP. `terminal`: stderr is
// a terminal, where the line starts on a fresh line (after "^C" or a
// progress line).
void installInterruptCleanup(bool terminal);

// Marks the conversion into `outputPath` as the one in progress for as long
// as it lives; the handler then removes its temporary file.
class ConversionInProgress {
public:
    explicit ConversionInProgress(const std::string& outputPath);
    ~ConversionInProgress();
    ConversionInProgress(const ConversionInProgress&) = delete;
    ConversionInProgress& operator=(const ConversionInProgress&) = delete;
};

// Blocks SIGINT, SIGTERM and SIGHUP for its lifetime: around fork() and
// the registration of the child, so that no signal falls in between.
class InterruptsHeld {
public:
    InterruptsHeld();
    ~InterruptsHeld();
    InterruptsHeld(const InterruptsHeld&) = delete;
    InterruptsHeld& operator=(const InterruptsHeld&) = delete;

private:
    sigset_t previous_;
};

// In the parent: a child converting for the batch started, or its messages
// ended (it has finished its conversion and is leaving).
void conversionChildStarted(pid_t child);
void conversionChildEnded(pid_t child);
// In a child, right after fork(): it forgets its siblings and, when stopped,
// leaves the report to its parent.
void becomeConversionChild();

}  // namespace orvenda::cli

#endif
