// The program's command line: "Orvenda FILE.awv" opens the waveform view of
// that file at start. Plain function of the arguments, tested on its own.
#ifndef ORVENDA_GUI_VIEWS_STARTUP_ARGUMENTS_H
#define ORVENDA_GUI_VIEWS_STARTUP_ARGUMENTS_H

#include <QString>
#include <QStringList>

namespace orvenda::views {

struct StartupArguments {
    QString waveformFile;  // empty: just the main window
    QString problem;       // set for an argument the program does not take
};

// `arguments` without the program name, as QCoreApplication::arguments()
// gives them after Qt took its own options. One file ending in ".awv" (any
// case) is taken; anything else is a problem to report.
StartupArguments parseStartupArguments(const QStringList& arguments);

}  // namespace orvenda::views

#endif
