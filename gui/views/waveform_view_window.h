// The waveform view: time, spectrum, constellation and CCDF of one signal
// (an ".awv" file, or the loaded input as a conversion would write it), the
// level report beside them, a read-out of the pointer, export of the view
// shown. Every computation runs off the GUI thread with progress and Cancel;
// a refused file is reported and the view keeps what it showed.
#ifndef ORVENDA_GUI_VIEWS_WAVEFORM_VIEW_WINDOW_H
#define ORVENDA_GUI_VIEWS_WAVEFORM_VIEW_WINDOW_H

#include <QStringList>
#include <QWidget>
#include <functional>
#include <memory>
#include <optional>

#include "core/analysis/conversion_source.h"
#include "core/analysis/sample_source.h"
#include "core/analysis/signal_analysis.h"
#include "core/transform/settings_record.h"
#include "gui/plots/plot_data.h"
#include "gui/plots/sample_columns.h"

class QComboBox;
class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class QTabWidget;

namespace orvenda {
class UserDialogs;
}

namespace orvenda::views {

class BackgroundJob;
class PlotCanvas;

inline const char kWaveformViewCaption[] = "Waveform View";

// What the loaded input gives for a conversion kind: the engine's arguments,
// or why there are none (no input, a field the transform could not read).
struct ConversionRequest {
    std::optional<analysis::ConversionInput> input;
    QString problem;
    QString name;  // the input file's name, for the title
};
using ConversionProvider = std::function<ConversionRequest(TransformKind)>;

class WaveformViewWindow : public QWidget {
    Q_OBJECT
public:
    enum Tab { TimeTab, SpectrumTab, ConstellationTab, CcdfTab };

    explicit WaveformViewWindow(UserDialogs& dialogs, QWidget* parent = nullptr);
    ~WaveformViewWindow() override;

    // Opens and analyses an ".awv" file; shows the window.
    void openWaveformFile(const QString& path);
    // Shows the loaded input as the chosen transform would write it, and
    // follows later loads through refreshLoadedInput().
    void showLoadedInput(ConversionProvider provider);
    void refreshLoadedInput();
    bool followsLoadedInput() const { return static_cast<bool>(provider_); }
    // Any source, e.g. a generated signal.
    void showSource(std::shared_ptr<const analysis::SampleSource> source, const QString& name,
                    const QStringList& settingsLines = {});

    // True while a computation runs (the progress row is shown).
    bool busy() const;
    // Stops the running computation; the view keeps what it showed.
    void cancel();
    bool hasSignal() const { return static_cast<bool>(source_); }
    QString sourceName() const { return sourceName_; }

    plots::SampleRange visibleRange() const { return visible_; }
    // Zooms or pans the time view; only this range is read again.
    void setVisibleRange(plots::SampleRange range);
    const plots::TimeTraces& timeTraces() const { return traces_; }
    QString levelReportText() const;
    QString cursorText() const;
    // Writes the view of the current tab; empty on success, else the problem.
    QString exportCurrentView(const QString& path, QSize size) const;

signals:
    // The visible range of the time view was read and drawn.
    void timeViewUpdated();

private:
    struct Figures;
    // A source ready for analysis, or why there is none.
    struct OpenedSource {
        std::shared_ptr<const analysis::SampleSource> source;
        QStringList settingsLines;
        QString problem;
    };
    using SourceOpener = std::function<OpenedSource(const analysis::AnalysisControl&)>;

    void buildControls();
    void startAnalysis(SourceOpener open, const QString& name);
    void adopt(std::shared_ptr<const analysis::SampleSource> source, analysis::AnalysisResult result,
               const QString& name, const QStringList& settingsLines);
    void refuse(const QString& message);
    void readVisibleRange();
    void recomputeSpectrum();
    void updateCanvases();
    void updateReadout(QPointF position);
    void zoomAt(double factor, QPointF position);
    void panBy(double pixels);
    void exportView();
    void showProgress(bool on);
    int timeColumns() const;
    analysis::AnalysisSettings analysisSettings() const;

    UserDialogs& dialogs_;
    ConversionProvider provider_;
    std::shared_ptr<const analysis::SampleSource> source_;
    // Kept between zooms (one envelope read at a time): a source that reads
    // forward only then continues instead of starting over.
    std::shared_ptr<analysis::SampleCursor> zoomCursor_;
    QString sourceName_;
    QStringList settingsLines_;
    std::vector<std::string> levelLines_;
    plots::SampleRange visible_;
    plots::TimeTraces traces_;
    std::unique_ptr<Figures> figures_;

    BackgroundJob* analysisJob_ = nullptr;
    BackgroundJob* envelopeJob_ = nullptr;
    BackgroundJob* spectrumJob_ = nullptr;

    QLabel* sourceLabel_ = nullptr;
    QComboBox* outputKind_ = nullptr;
    QComboBox* fftSize_ = nullptr;
    QComboBox* spectrumRange_ = nullptr;
    QTabWidget* tabs_ = nullptr;
    PlotCanvas* canvases_[4] = {};
    QPlainTextEdit* report_ = nullptr;
    QLabel* cursor_ = nullptr;
    QWidget* progressRow_ = nullptr;
    QProgressBar* progress_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
};

}  // namespace orvenda::views

#endif
