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
// it uses only async-signal-safe calls. Conversions run one at a time on the
// main thread, so while the handler runs no new temporary file can appear.
#ifndef ORVENDA_CLI_INTERRUPT_CLEANUP_H
#define ORVENDA_CLI_INTERRUPT_CLEANUP_H

#include <string>

namespace orvenda::cli {

// Installs the handler for SIGINT, SIGTERM and SIGHUP. `terminal`: stderr is
// a terminal, where the line starts on a fresh line (after "^C" or a
// progress line).
void installInterruptCleanup(bool terminal);

// The child processes of a parallel batch (convert -j): on a signal the
// parent passes it on to each, waits until they have removed their own
// temporary files, and then ends itself.
void addChildProcess(int pid);
void removeChildProcess(int pid);

// Marks the conversion into `outputPath` as the one in progress for as long
// as it lives; the handler then removes its temporary file.
class ConversionInProgress {
public:
    explicit ConversionInProgress(const std::string& outputPath);
    ~ConversionInProgress();
    ConversionInProgress(const ConversionInProgress&) = delete;
    ConversionInProgress& operator=(const ConversionInProgress&) = delete;
};

}  // namespace orvenda::cli

#endif
