#include "gui/main_window/transform_commands.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFile>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QWidget>

#include "gui/common/busy_pointer.h"
#include "gui/common/user_dialogs.h"
#include "gui/input/signal_source_group.h"
#include "gui/settings/settings_panel.h"

namespace orvenda {
namespace {

const char kSaveFilter[] = "AWG(*.awv)|*.awv|data files(*.dat)|*.dat|text files(*.txt)|*.txt|all files(*.*)|*.*";

// The busy pointer and the command's disabled button, restored on every way out.
class BusyWindow {
public:
    explicit BusyWindow(QPushButton* button) : button_(button) { button_->setEnabled(false); }
    ~BusyWindow() { button_->setEnabled(true); }
    BusyWindow(const BusyWindow&) = delete;
    BusyWindow& operator=(const BusyWindow&) = delete;

private:
    BusyPointer pointer_;  // set before the button is disabled, restored after it is enabled
    QPushButton* button_;
};

}  // namespace

TransformCommands::TransformCommands(ComonLib& state, UserDialogs& dialogs, Controls controls, QWidget* window)
    : QObject(window), state_(state), dialogs_(dialogs), controls_(controls), window_(window) {
    setObjectName(QStringLiteral("TransformCommands"));
}

void TransformCommands::runBaseBand() { run(TransformKind::BaseBand); }

void TransformCommands::runIF() { run(TransformKind::IF); }

TransformRequest TransformCommands::currentRequest(TransformKind kind) const {
    TransformRequest request;
    request.kind = kind;
    request.panel = controls_.panel->snapshot();
    request.specifyDataSize = controls_.signalSource->specifyDataSize();
    request.dataSizeText = controls_.signalSource->dataSizeText().toStdString();
    request.input = state_.input;
    return request;
}

void TransformCommands::run(TransformKind kind) {
    const QString caption = QString::fromLatin1(kProgramName);
    if (running_) return;
    if (controls_.signalSource->isLoading()) {
        dialogs_.message(window_,
                         QStringLiteral("An input file is still being loaded. Start the transform when "
                                        "the load has finished."),
                         caption);
        return;
    }
    const QScopedValueRollback running(running_, true);
    const bool isBaseBand = kind == TransformKind::BaseBand;

    // Every value is read and checked before the dialog; the record is built
    // from the controls as they stand at the click.
    const TransformPlan plan = planTransform(currentRequest(kind));
    if (plan.dataSize) state_.input.DataSize = *plan.dataSize;
    if (!plan.ok()) {
        dialogs_.message(window_, QString::fromStdString(problemsText(plan.problems)), caption);
        return;
    }
    std::string whyNot;
    if (!library_.halvik(whyNot)) {
        dialogs_.message(window_, QString::fromStdString(whyNot), caption);
        return;
    }

    const QString outPath =
        dialogs_.saveFile(window_, isBaseBand ? QStringLiteral("Data Save") : QStringLiteral("IF Data Save"),
                          QString::fromLatin1(kSaveFilter));
    if (outPath.isEmpty()) return;

    int32_t result = 0;
    {
        BusyWindow busy(isBaseBand ? controls_.baseBandButton : controls_.ifButton);
        // BaseBand lets the window draw the busy state (and run what else is
        // pending) before and after taking the path; IF does not.
        if (isBaseBand) QCoreApplication::processEvents();
        const std::string narrowOutPath = QFile::encodeName(outPath).toStdString();
        if (isBaseBand) QCoreApplication::processEvents();
        result = library_.convert(plan.arguments, state_.markers, narrowOutPath);
    }
    if (result != 0)
        dialogs_.message(window_, QStringLiteral("The waveform file was not written:\n%1").arg(outPath), caption);
}

}  // namespace orvenda
