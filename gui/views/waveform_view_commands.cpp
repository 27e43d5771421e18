#include "gui/views/waveform_view_commands.h"

#include <QAction>
#include <QFileInfo>
#include <QMenu>

#include "gui/common/user_dialogs.h"
#include "gui/input/signal_source_group.h"
#include "gui/settings/settings_panel.h"

namespace orvenda::views {

WaveformViewCommands::WaveformViewCommands(ComonLib& state, UserDialogs& dialogs, Panels panels, QWidget* window)
    : QObject(window), state_(state), dialogs_(dialogs), panels_(panels), window_(window) {
    // The view of the loaded input follows every finished load.
    connect(panels_.signalSource, &input::SignalSourceGroup::loadingChanged, this, [this](bool loading) {
        if (!loading && view_ && view_->isVisible() && view_->followsLoadedInput()) view_->refreshLoadedInput();
    });
}

// The view is a top-level window of its own; it goes with the main window.
WaveformViewCommands::~WaveformViewCommands() { delete view_.data(); }

void WaveformViewCommands::addMenuItems(QMenu* tools) {
    QAction* view = tools->addAction(QStringLiteral("Waveform View"));
    view->setObjectName(QStringLiteral("MnuWaveformView"));
    connect(view, &QAction::triggered, this, &WaveformViewCommands::showLoadedInput);
    QAction* open = tools->addAction(QStringLiteral("Open Waveform File..."));
    open->setObjectName(QStringLiteral("MnuOpenWaveform"));
    connect(open, &QAction::triggered, this, &WaveformViewCommands::chooseWaveformFile);
}

WaveformViewWindow* WaveformViewCommands::ensureView() {
    if (!view_) {
        view_ = new WaveformViewWindow(dialogs_);
        view_->setAttribute(Qt::WA_DeleteOnClose);
    }
    return view_.data();
}

void WaveformViewCommands::showLoadedInput() {
    if (state_.input.InputDataType == 0 || state_.input.DataSize <= 0) {
        dialogs_.message(window_, QStringLiteral("No input is loaded. Load I/Q data first."),
                         QString::fromLatin1(kWaveformViewCaption));
        return;
    }
    WaveformViewWindow* view = ensureView();
    view->show();
    view->showLoadedInput([this](TransformKind kind) { return conversionRequest(kind); });
}

void WaveformViewCommands::chooseWaveformFile() {
    const QString path =
        dialogs_.openFile(window_, QStringLiteral("Open Waveform File"), QString::fromLatin1(kAwvFileFilter));
    if (!path.isEmpty()) openWaveformFile(path);
}

void WaveformViewCommands::openWaveformFile(const QString& path) {
    WaveformViewWindow* view = ensureView();
    view->show();
    view->openWaveformFile(path);
}

ConversionRequest WaveformViewCommands::conversionRequest(TransformKind kind) const {
    ConversionRequest request;
    if (state_.input.InputDataType == 0 || state_.input.DataSize <= 0) {
        request.problem = QStringLiteral("No input is loaded. Load I/Q data first.");
        return request;
    }
    TransformRequest transform;
    transform.kind = kind;
    transform.panel = panels_.panel->snapshot();
    transform.specifyDataSize = panels_.signalSource->specifyDataSize();
    transform.dataSizeText = panels_.signalSource->dataSizeText().toStdString();
    transform.input = state_.input;
    // The plan only reads: a view never stores a data size.
    const TransformPlan plan = planTransform(transform);
    if (!plan.ok()) {
        request.problem = QString::fromStdString(problemsText(plan.problems));
        return request;
    }
    analysis::ConversionInput input;
    input.arguments = plan.arguments;
    input.marker1.assign(state_.markers.Marker1Points.begin(), state_.markers.Marker1Points.end());
    input.marker2.assign(state_.markers.Marker2Points.begin(), state_.markers.Marker2Points.end());
    request.input = std::move(input);
    const std::string& path = !state_.input.IQFilePath.empty() ? state_.input.IQFilePath : state_.input.IFilePath;
    request.name = QFileInfo(QFile::decodeName(QByteArray::fromStdString(path))).fileName();
    return request;
}

}  // namespace orvenda::views
