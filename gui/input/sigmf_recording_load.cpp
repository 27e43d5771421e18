#include "gui/input/sigmf_recording_load.h"

#include <QCoreApplication>
#include <QFile>
#include <QWidget>

#include "core/sigmf/sample_rate_field.h"
#include "core/sigmf/sigmf_recording.h"
#include "gui/common/busy_pointer.h"
#include "gui/common/user_dialogs.h"
#include "gui/input/signal_source_group.h"
#include "gui/settings/settings_panel.h"

namespace orvenda::input {

SigmfRecordingLoad::SigmfRecordingLoad(SignalSourceGroup& group, settings::SettingsPanel& panel,
                                       const LoadedInput& state, UserDialogs& dialogs, QWidget* window)
    : QObject(window), group_(group), panel_(panel), state_(state), dialogs_(dialogs), window_(window) {
    connect(&group_, &SignalSourceGroup::inputLoaded, this, [this] { releaseWhenReplaced(); });
}

SigmfRecordingLoad::~SigmfRecordingLoad() = default;

std::optional<std::string> SigmfRecordingLoad::samplesPath() const {
    if (!current_) return std::nullopt;
    return current_->path;
}

void SigmfRecordingLoad::releaseWhenReplaced() {
    if (current_ && state_.IQFilePath != current_->path) current_.reset();
}

void SigmfRecordingLoad::run() {
    if (group_.isLoading()) return;
    const QString caption = QString::fromLatin1(kProgramName);
    const QString chosen =
        dialogs_.openFile(window_, QString::fromLatin1(kSigmfDialogTitle), QString::fromLatin1(kSigmfFileFilter));
    if (chosen.isEmpty()) return;

    auto opened = sigmf::openRecording(QFile::encodeName(chosen).toStdString());
    if (const auto* error = std::get_if<sigmf::RecordingError>(&opened)) {
        dialogs_.message(window_, QString::fromStdString(error->message), caption);
        return;
    }
    const sigmf::Recording& recording = std::get<sigmf::Recording>(opened);
    const std::optional<SignalSourceGroup::LoadStart> start =
        group_.startLoad(sigmf::engineCommandOf(recording.meta.datatype));
    if (!start) return;

    sigmf::PrepareOptions options;
    // One sample beyond the limit, so the load still sees it exceeded.
    options.sampleLimit = static_cast<std::uint64_t>(start->recordLimit) + 1;
    options.onProgress = [](std::uint64_t, std::uint64_t) {
        QCoreApplication::processEvents();
        return true;
    };
    std::variant<sigmf::PreparedSamples, sigmf::RecordingError> prepared;
    {
        BusyPointer busy;
        prepared = sigmf::prepareForEngine(recording, options);
    }
    if (const auto* error = std::get_if<sigmf::RecordingError>(&prepared)) {
        group_.abandonLoad(*start);
        dialogs_.message(window_, QString::fromStdString(error->message), caption);
        return;
    }
    sigmf::PreparedSamples samples = std::get<sigmf::PreparedSamples>(std::move(prepared));
    const QString samplesPath = QFile::decodeName(QByteArray::fromStdString(samples.path));
    const QString dataPath = QFile::decodeName(QByteArray::fromStdString(recording.meta.dataPath));
    if (!group_.finishLoad(*start, samplesPath, dataPath)) return;  // the samples go, the old input stays
    current_ = std::move(samples);

    if (recording.meta.sampleRate) {
        auto field = sigmf::samplingFrequencyField(*recording.meta.sampleRate, recording.metaPath);
        if (const auto* text = std::get_if<sigmf::FieldText>(&field))
            panel_.setSamplingFrequencyText(text->text);
        else
            dialogs_.message(window_, QString::fromStdString(std::get<sigmf::FieldLeft>(field).message), caption);
    }
}

}  // namespace orvenda::input
