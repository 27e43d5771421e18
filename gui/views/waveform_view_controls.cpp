// The controls and layout of the waveform view.
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSplitter>
#include <QTabWidget>
#include <QVBoxLayout>

#include "core/analysis/spectrum.h"
#include "gui/views/background_job.h"
#include "gui/views/plot_canvas.h"
#include "gui/views/waveform_view_window.h"

namespace orvenda::views {
namespace {

QPushButton* button(QWidget* parent, const char* caption, const char* name) {
    auto* b = new QPushButton(QString::fromLatin1(caption), parent);
    b->setObjectName(QString::fromLatin1(name));
    return b;
}

QComboBox* comboBox(QWidget* parent, const char* name, const QStringList& items) {
    auto* box = new QComboBox(parent);
    box->setObjectName(QString::fromLatin1(name));
    box->addItems(items);
    return box;
}

}  // namespace

void WaveformViewWindow::buildControls() {
    sourceLabel_ = new QLabel(this);
    sourceLabel_->setObjectName(QStringLiteral("LblSource"));
    outputKind_ =
        comboBox(this, "CmbOutputKind", {QStringLiteral("BaseBand Transform"), QStringLiteral("IF Transform")});
    outputKind_->setEnabled(false);
    QStringList sizes;
    for (size_t size = analysis::kMinFftSize; size <= analysis::kMaxFftSize; size *= 2) sizes << QString::number(size);
    fftSize_ = comboBox(this, "CmbFftSize", sizes);
    fftSize_->setCurrentText(QStringLiteral("4096"));
    spectrumRange_ =
        comboBox(this, "CmbSpectrumRange", {QStringLiteral("Whole file"), QStringLiteral("Visible range")});
    QPushButton* zoomIn = button(this, "Zoom In", "BtnZoomIn");
    QPushButton* zoomOut = button(this, "Zoom Out", "BtnZoomOut");
    QPushButton* whole = button(this, "Whole File", "BtnWholeFile");
    QPushButton* exportButton = button(this, "Export...", "BtnExport");

    auto* top = new QHBoxLayout;
    top->addWidget(sourceLabel_, 1);
    top->addWidget(outputKind_);
    top->addWidget(new QLabel(QStringLiteral("FFT size"), this));
    top->addWidget(fftSize_);
    top->addWidget(new QLabel(QStringLiteral("Spectrum of"), this));
    top->addWidget(spectrumRange_);
    top->addWidget(zoomIn);
    top->addWidget(zoomOut);
    top->addWidget(whole);
    top->addWidget(exportButton);

    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(QStringLiteral("TabViews"));
    const char* names[] = {"Time", "Spectrum", "Constellation", "CCDF"};
    for (int tab = 0; tab < 4; ++tab) {
        canvases_[tab] = new PlotCanvas(tabs_);
        canvases_[tab]->setObjectName(QStringLiteral("Pict%1").arg(QString::fromLatin1(names[tab])));
        tabs_->addTab(canvases_[tab], QString::fromLatin1(names[tab]));
        connect(canvases_[tab], &PlotCanvas::pointerMoved, this, &WaveformViewWindow::updateReadout);
        connect(canvases_[tab], &PlotCanvas::pointerLeft, this, [this] { cursor_->clear(); });
    }
    connect(canvases_[TimeTab], &PlotCanvas::zoomRequested, this, &WaveformViewWindow::zoomAt);
    connect(canvases_[TimeTab], &PlotCanvas::panRequested, this, &WaveformViewWindow::panBy);
    connect(canvases_[TimeTab], &PlotCanvas::resized, this, [this] {
        if (source_ && timeColumns() != static_cast<int>(traces_.i.size()) && !traces_.perSample()) readVisibleRange();
    });

    report_ = new QPlainTextEdit(this);
    report_->setObjectName(QStringLiteral("TxtLevelReport"));
    report_->setReadOnly(true);
    report_->setFont(QFont(QStringLiteral("DejaVu Sans Mono"), 9));
    report_->setMinimumWidth(260);
    auto* splitter = new QSplitter(this);
    splitter->addWidget(tabs_);
    splitter->addWidget(report_);
    splitter->setStretchFactor(0, 1);

    cursor_ = new QLabel(this);
    cursor_->setObjectName(QStringLiteral("LblCursor"));
    cursor_->setMinimumHeight(cursor_->fontMetrics().height() + 4);

    progressRow_ = new QWidget(this);
    progress_ = new QProgressBar(progressRow_);
    progress_->setObjectName(QStringLiteral("PrgAnalysis"));
    progress_->setRange(0, 1000);
    cancelButton_ = button(progressRow_, "Cancel", "BtnCancel");
    auto* progressLayout = new QHBoxLayout(progressRow_);
    progressLayout->setContentsMargins(0, 0, 0, 0);
    progressLayout->addWidget(progress_, 1);
    progressLayout->addWidget(cancelButton_);
    progressRow_->hide();

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(splitter, 1);
    layout->addWidget(cursor_);
    layout->addWidget(progressRow_);

    connect(cancelButton_, &QPushButton::clicked, this, &WaveformViewWindow::cancel);
    for (BackgroundJob* job : {analysisJob_, spectrumJob_}) {
        connect(job, &BackgroundJob::progressed, this,
                [this](double fraction) { progress_->setValue(static_cast<int>(fraction * 1000)); });
        connect(job, &BackgroundJob::ended, this, [this] { showProgress(busy()); });
    }
    connect(zoomIn, &QPushButton::clicked, this, [this] { zoomAt(0.5, canvases_[TimeTab]->rect().center()); });
    connect(zoomOut, &QPushButton::clicked, this, [this] { zoomAt(2.0, canvases_[TimeTab]->rect().center()); });
    connect(whole, &QPushButton::clicked, this, [this] {
        if (source_) setVisibleRange({0, static_cast<int64_t>(source_->size())});
    });
    connect(exportButton, &QPushButton::clicked, this, &WaveformViewWindow::exportView);
    connect(fftSize_, &QComboBox::currentIndexChanged, this, &WaveformViewWindow::recomputeSpectrum);
    connect(spectrumRange_, &QComboBox::currentIndexChanged, this, &WaveformViewWindow::recomputeSpectrum);
    connect(outputKind_, &QComboBox::currentIndexChanged, this, &WaveformViewWindow::refreshLoadedInput);
}

}  // namespace orvenda::views
