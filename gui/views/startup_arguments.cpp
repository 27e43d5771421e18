#include "gui/views/startup_arguments.h"

namespace orvenda::views {

StartupArguments parseStartupArguments(const QStringList& arguments) {
    StartupArguments parsed;
    for (const QString& argument : arguments) {
        if (argument.isEmpty()) continue;
        if (!argument.endsWith(QLatin1String(".awv"), Qt::CaseInsensitive) || argument.startsWith(QLatin1Char('-'))) {
            parsed.problem = QStringLiteral(
                                 "Orvenda opens waveform files (.awv) given on its command line; "
                                 "\"%1\" is not one.")
                                 .arg(argument);
            continue;
        }
        if (!parsed.waveformFile.isEmpty()) {
            parsed.problem =
                QStringLiteral("Orvenda opens one waveform file at start; \"%1\" is left out.").arg(argument);
            continue;
        }
        parsed.waveformFile = argument;
    }
    return parsed;
}

}  // namespace orvenda::views
