#include "gui/views/waveform_view_window.h"

#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QTabWidget>

#include "core/analysis/awv_source.h"
#include "core/analysis/envelope.h"
#include "gui/common/user_dialogs.h"
#include "gui/plots/ccdf_plot.h"
#include "gui/plots/constellation_plot.h"
#include "gui/plots/cursor_readout.h"
#include "gui/plots/picture_export.h"
#include "gui/plots/signal_figures.h"
#include "gui/plots/spectrum_plot.h"
#include "gui/plots/time_plot.h"
#include "gui/views/background_job.h"
#include "gui/views/plot_canvas.h"

namespace orvenda::views {

// The pictures other than the time view, replaced as a whole.
struct WaveformViewWindow::Figures {
    plots::SpectrumCurve spectrum;
    plots::DensityGrid constellation;
    plots::CcdfCurve ccdf;
};

WaveformViewWindow::WaveformViewWindow(UserDialogs& dialogs, QWidget* parent)
    : QWidget(parent, Qt::Window), dialogs_(dialogs), figures_(std::make_unique<Figures>()) {
    setObjectName(QStringLiteral("FrmWaveformView"));
    setWindowTitle(QString::fromLatin1(kWaveformViewCaption));
    analysisJob_ = new BackgroundJob(this);
    envelopeJob_ = new BackgroundJob(this);
    spectrumJob_ = new BackgroundJob(this);
    buildControls();
    updateCanvases();
    resize(1100, 620);
}

WaveformViewWindow::~WaveformViewWindow() = default;

bool WaveformViewWindow::busy() const { return analysisJob_->running() || spectrumJob_->running(); }

void WaveformViewWindow::cancel() {
    analysisJob_->cancel();
    spectrumJob_->cancel();
    showProgress(false);
}

void WaveformViewWindow::showProgress(bool on) {
    if (on && !progressRow_->isVisible()) progress_->setValue(0);
    progressRow_->setVisible(on);
}

analysis::AnalysisSettings WaveformViewWindow::analysisSettings() const {
    analysis::AnalysisSettings settings;
    settings.spectrum.fftSize = fftSize_->currentText().toULong();
    settings.overviewColumns = static_cast<size_t>(timeColumns());
    return settings;
}

int WaveformViewWindow::timeColumns() const {
    const bool markers = source_ ? source_->hasMarkers() : true;
    return plots::timePlotColumns(QRectF(canvases_[TimeTab]->rect()), markers);
}

void WaveformViewWindow::openWaveformFile(const QString& path) {
    provider_ = nullptr;
    outputKind_->setEnabled(false);
    const std::string file = QFile::encodeName(path).toStdString();
    startAnalysis(
        [file, path](const analysis::AnalysisControl&) {
            OpenedSource opened;
            analysis::AwvSampleSource::OpenResult result = analysis::AwvSampleSource::open(file);
            if (auto* error = std::get_if<halvik::AwvError>(&result)) {
                opened.problem = QStringLiteral("%1: %2").arg(path, QString::fromStdString(error->describe()));
                return opened;
            }
            auto& source = std::get<0>(result);
            for (const std::string& line : analysis::awvHeaderLines(source->summary()))
                opened.settingsLines << QString::fromStdString(line);
            opened.source = std::move(source);
            return opened;
        },
        QFileInfo(path).fileName());
}

void WaveformViewWindow::showLoadedInput(ConversionProvider provider) {
    provider_ = std::move(provider);
    outputKind_->setEnabled(true);
    refreshLoadedInput();
}

void WaveformViewWindow::refreshLoadedInput() {
    if (!provider_) return;
    const auto kind = outputKind_->currentIndex() == 1 ? TransformKind::IF : TransformKind::BaseBand;
    ConversionRequest request = provider_(kind);
    if (!request.input) {
        refuse(request.problem);
        return;
    }
    startAnalysis(
        [input = *request.input, kind](const analysis::AnalysisControl& control) {
            OpenedSource opened;
            analysis::ConversionOpenResult result = analysis::ConversionSampleSource::open(input, control);
            if (!result.status.done()) {
                opened.problem = QString::fromStdString(result.status.error);
                return opened;
            }
            opened.settingsLines << (kind == TransformKind::IF ? QStringLiteral("As written by IF Transform")
                                                               : QStringLiteral("As written by BaseBand Transform"));
            opened.source = std::move(result.source);
            return opened;
        },
        request.name);
}

void WaveformViewWindow::showSource(std::shared_ptr<const analysis::SampleSource> source, const QString& name,
                                    const QStringList& settingsLines) {
    provider_ = nullptr;
    outputKind_->setEnabled(false);
    startAnalysis(
        [source, settingsLines](const analysis::AnalysisControl&) {
            return OpenedSource{source, settingsLines, {}};
        },
        name);
}

void WaveformViewWindow::startAnalysis(SourceOpener open, const QString& name) {
    analysis::AnalysisSettings settings = analysisSettings();
    // The overview's columns depend on whether marker strips take room; the
    // widget is measured here, on the GUI thread.
    const QRectF bounds(canvases_[TimeTab]->rect());
    const auto columnsWithMarkers = static_cast<size_t>(plots::timePlotColumns(bounds, true));
    const auto columnsWithout = static_cast<size_t>(plots::timePlotColumns(bounds, false));
    showProgress(true);
    analysisJob_->start([this, open = std::move(open), settings, name, columnsWithMarkers,
                         columnsWithout](const analysis::AnalysisControl& control) -> BackgroundJob::Finish {
        OpenedSource opened = open(control);
        if (control.cancelled()) return {};
        if (!opened.source) return [this, problem = opened.problem] { refuse(problem); };
        analysis::AnalysisSettings withColumns = settings;
        withColumns.overviewColumns = opened.source->hasMarkers() ? columnsWithMarkers : columnsWithout;
        auto result =
            std::make_shared<analysis::AnalysisResult>(analysis::analyse(*opened.source, withColumns, control));
        if (result->status.outcome == analysis::Outcome::Failed)
            return [this, problem = QString::fromStdString(result->status.error)] { refuse(problem); };
        if (!result->status.done()) return {};
        return [this, opened, result, name] { adopt(opened.source, std::move(*result), name, opened.settingsLines); };
    });
}

void WaveformViewWindow::refuse(const QString& message) {
    dialogs_.message(this, message, QString::fromLatin1(kWaveformViewCaption));
    // A window that never showed a signal has nothing to keep.
    if (!source_) close();
}

void WaveformViewWindow::adopt(std::shared_ptr<const analysis::SampleSource> source, analysis::AnalysisResult result,
                               const QString& name, const QStringList& settingsLines) {
    envelopeJob_->cancel();
    source_ = std::move(source);
    zoomCursor_ = source_->openCursor();
    sourceName_ = name;
    settingsLines_ = settingsLines;
    levelLines_ = analysis::levelReportLines(result.levels);
    visible_ = {static_cast<int64_t>(result.overview.begin),
                static_cast<int64_t>(result.overview.end - result.overview.begin)};
    traces_ = plots::timeTraces(result.overview, source_->samplingFrequency(), source_->hasMarkers());
    figures_->spectrum = plots::spectrumCurve(result.spectrum, source_->samplingFrequency() > 0.0);
    figures_->constellation = plots::densityGrid(result.constellation);
    figures_->ccdf = plots::ccdfCurve(result.ccdf);
    setWindowTitle(QStringLiteral("%1 - %2").arg(QString::fromLatin1(kWaveformViewCaption), name));
    sourceLabel_->setText(QStringLiteral("%1   %2 samples").arg(name).arg(source_->size()));
    QStringList report;
    for (const std::string& line : levelLines_) report << QString::fromStdString(line);
    if (!settingsLines_.isEmpty()) report << QString() << QStringLiteral("Settings") << settingsLines_;
    report_->setPlainText(report.join(QLatin1Char('\n')));
    updateCanvases();
    if (spectrumRange_->currentIndex() == 1)
        spectrumRange_->setCurrentIndex(0);  // a new signal starts with its whole spectrum
    show();
    raise();
    emit timeViewUpdated();
}

void WaveformViewWindow::setVisibleRange(plots::SampleRange range) {
    if (!source_) return;
    const auto total = static_cast<int64_t>(source_->size());
    range = plots::panRange(plots::zoomRange(range, 1.0, 0.0, total, 1), 0, total);
    visible_ = range;
    readVisibleRange();
    if (spectrumRange_->currentIndex() == 1) recomputeSpectrum();
}

void WaveformViewWindow::readVisibleRange() {
    if (!source_) return;
    const auto source = source_;
    const auto cursor = zoomCursor_;
    const plots::SampleRange range = visible_;
    const auto columns = static_cast<size_t>(timeColumns());
    envelopeJob_->start(
        [this, source, cursor, range, columns](const analysis::AnalysisControl& control) -> BackgroundJob::Finish {
            auto envelope = std::make_shared<analysis::Envelope>(
                analysis::computeEnvelope(*source, *cursor, static_cast<uint64_t>(range.first),
                                          static_cast<uint64_t>(range.end()), columns, control));
            if (!envelope->status.done()) return {};
            return [this, source, envelope] {
                if (source != source_) return;
                traces_ = plots::timeTraces(*envelope, source->samplingFrequency(), source->hasMarkers());
                canvases_[TimeTab]->update();
                emit timeViewUpdated();
            };
        });
}

void WaveformViewWindow::recomputeSpectrum() {
    if (!source_) return;
    const auto source = source_;
    analysis::SpectrumSettings settings;
    settings.fftSize = fftSize_->currentText().toULong();
    const bool visibleOnly = spectrumRange_->currentIndex() == 1;
    const uint64_t begin = visibleOnly ? static_cast<uint64_t>(visible_.first) : 0;
    const uint64_t end = visibleOnly ? static_cast<uint64_t>(visible_.end()) : source->size();
    showProgress(true);
    spectrumJob_->start(
        [this, source, settings, begin, end](const analysis::AnalysisControl& control) -> BackgroundJob::Finish {
            auto spectrum =
                std::make_shared<analysis::Spectrum>(analysis::computeSpectrum(*source, begin, end, settings, control));
            if (!spectrum->status.done()) return {};
            return [this, source, spectrum] {
                if (source != source_) return;
                figures_->spectrum = plots::spectrumCurve(*spectrum, source->samplingFrequency() > 0.0);
                canvases_[SpectrumTab]->update();
            };
        });
}

void WaveformViewWindow::updateCanvases() {
    canvases_[TimeTab]->setPaintFunction(
        [this](QPainter& painter, const QRectF& bounds) { plots::paintTimePlot(painter, bounds, traces_); });
    canvases_[SpectrumTab]->setPaintFunction([this](QPainter& painter, const QRectF& bounds) {
        plots::paintSpectrumPlot(painter, bounds, figures_->spectrum);
    });
    canvases_[ConstellationTab]->setPaintFunction([this](QPainter& painter, const QRectF& bounds) {
        plots::paintConstellationPlot(painter, bounds, figures_->constellation);
    });
    canvases_[CcdfTab]->setPaintFunction(
        [this](QPainter& painter, const QRectF& bounds) { plots::paintCcdfPlot(painter, bounds, figures_->ccdf); });
}

void WaveformViewWindow::updateReadout(QPointF position) {
    const QRectF bounds(canvases_[TimeTab]->rect());
    QString text;
    switch (tabs_->currentIndex()) {
    case TimeTab: text = plots::timeReadout(traces_, bounds, position); break;
    case SpectrumTab: text = plots::spectrumReadout(figures_->spectrum, bounds, position); break;
    case ConstellationTab: text = plots::constellationReadout(figures_->constellation, bounds, position); break;
    default: text = plots::ccdfReadout(figures_->ccdf, bounds, position); break;
    }
    cursor_->setText(text);
}

void WaveformViewWindow::zoomAt(double factor, QPointF position) {
    if (!source_) return;
    const plots::TimePlotLayout layout = plots::timePlotLayout(QRectF(canvases_[TimeTab]->rect()), traces_);
    const double fraction =
        std::clamp((position.x() - layout.frame.area.left()) / std::max(1.0, layout.frame.area.width()), 0.0, 1.0);
    setVisibleRange(plots::zoomRange(visible_, factor, fraction, static_cast<int64_t>(source_->size())));
}

void WaveformViewWindow::panBy(double pixels) {
    if (!source_) return;
    const plots::TimePlotLayout layout = plots::timePlotLayout(QRectF(canvases_[TimeTab]->rect()), traces_);
    const double samplesPerPixel = static_cast<double>(visible_.count) / std::max(1.0, layout.frame.area.width());
    const auto shift = static_cast<int64_t>(std::llround(pixels * samplesPerPixel));
    if (shift != 0) setVisibleRange(plots::panRange(visible_, shift, static_cast<int64_t>(source_->size())));
}

QString WaveformViewWindow::levelReportText() const { return report_->toPlainText(); }

QString WaveformViewWindow::cursorText() const { return cursor_->text(); }

QString WaveformViewWindow::exportCurrentView(const QString& path, QSize size) const {
    return plots::writePicture(path, size, canvases_[tabs_->currentIndex()]->paintFunction());
}

void WaveformViewWindow::exportView() {
    const QString path = dialogs_.saveFile(this, QStringLiteral("Export View"),
                                           QStringLiteral("PNG picture(*.png)|*.png|SVG picture(*.svg)|*.svg"));
    if (path.isEmpty()) return;
    const QString problem = exportCurrentView(path, canvases_[tabs_->currentIndex()]->size());
    if (!problem.isEmpty()) dialogs_.message(this, problem, QString::fromLatin1(kWaveformViewCaption));
}

}  // namespace orvenda::views
