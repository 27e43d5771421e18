// The waveform view through the real main window and its Tools menu, under
// the offscreen platform: what the user sees after opening files, refusals,
// Cancel, zoom, the FFT size, export, and the view of the loaded input.
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QMenu>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QWheelEvent>
#include <cmath>

#include "core/analysis/generated_source.h"
#include "gui/plots/time_plot.h"
#include "gui/views/startup_arguments.h"
#include "gui/views/waveform_view_commands.h"
#include "gui/views/waveform_view_window.h"
#include "tests/cli/awv_test_files.h"
#include "tests/main_window/window_test_support.h"

namespace orvenda::testing {
namespace {

using cli::test::Sample;

constexpr int kToneSamples = 4096;

// A full-scale complex tone, 16 samples per cycle; marker 1 high in the first half.
std::vector<Sample> toneSamples() {
    std::vector<Sample> samples(kToneSamples);
    for (int n = 0; n < kToneSamples; ++n) {
        const double phase = 2 * M_PI * n / 16.0;
        samples[n].codeA = static_cast<uint32_t>(8192 + std::lround(8191 * std::cos(phase)));
        samples[n].codeB = static_cast<uint32_t>(8192 + std::lround(8191 * std::sin(phase)));
        samples[n].marker1 = n < kToneSamples / 2;
    }
    return samples;
}

void writeBytes(const QString& path, const std::string& bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

// A signal far too long to finish while a test waits.
std::shared_ptr<const analysis::SampleSource> endlessSource() {
    analysis::GeneratedSignal signal;
    signal.size = uint64_t{1} << 40;
    signal.samplingFrequency = 1e6;
    signal.fill = [](uint64_t first, size_t count, analysis::SampleBlock& block) {
        for (size_t k = 0; k < count; ++k) {
            block.i[k] = static_cast<int16_t>((first + k) % 1000);
            block.q[k] = 0;
            block.markers[k] = 0;
        }
    };
    return std::make_shared<analysis::GeneratedSampleSource>(signal);
}

struct ViewUnderTest : WindowUnderTest {
    QTemporaryDir folder;
    QString tone = folder.filePath(QStringLiteral("tone.awv"));

    ViewUnderTest() {
        writeBytes(tone, cli::test::awvFile("{SAMPLINGFREQ:100000000.000000}\n{MARKER1:ON;POS;0;2048;2048;1}\n",
                                            toneSamples()));
    }
    views::WaveformViewCommands* commands() const { return window->findChild<views::WaveformViewCommands*>(); }
    views::WaveformViewWindow* view() const { return commands()->viewWindow(); }
    void openThroughMenu(const QString& path) {
        dialogs.fileAnswers.push_back(path);
        action("MnuOpenWaveform")->trigger();
    }
    bool settled() const { return view() && !view()->busy() && !view()->findChild<QProgressBar*>()->isVisible(); }
};

}  // namespace

class WaveformViewTest : public QObject {
    Q_OBJECT

private slots:
    void toolsMenuItems() {
        WindowUnderTest ui;
        QMenu* tools = ui.find<QMenu>("MnuTools");
        QVERIFY(tools);
        QCOMPARE(ui.action("MnuWaveformView")->text(), QStringLiteral("Waveform View"));
        QCOMPARE(ui.action("MnuOpenWaveform")->text(), QStringLiteral("Open Waveform File..."));
        QVERIFY(tools->actions().contains(ui.action("MnuWaveformView")));
        QVERIFY(tools->actions().contains(ui.action("MnuOpenWaveform")));
    }

    void startupArguments_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("file");
        QTest::addColumn<bool>("problem");
        QTest::newRow("none") << QStringList{} << QString() << false;
        QTest::newRow("awv") << QStringList{"/data/tone.awv"} << "/data/tone.awv" << false;
        QTest::newRow("capitals") << QStringList{"TONE.AWV"} << "TONE.AWV" << false;
        QTest::newRow("not a waveform") << QStringList{"tone.dat"} << QString() << true;
        QTest::newRow("an option") << QStringList{"--frobnicate"} << QString() << true;
        QTest::newRow("two files") << QStringList{"a.awv", "b.awv"} << "a.awv" << true;
    }
    void startupArguments() {
        QFETCH(QStringList, arguments);
        QFETCH(QString, file);
        QFETCH(bool, problem);
        const views::StartupArguments parsed = views::parseStartupArguments(arguments);
        QCOMPARE(parsed.waveformFile, file);
        QCOMPARE(!parsed.problem.isEmpty(), problem);
    }

    void openFileShowsItsViews() {
        ViewUnderTest ui;
        ui.openThroughMenu(ui.tone);
        QCOMPARE(ui.dialogs.fileRequests.size(), size_t{1});
        QCOMPARE(ui.dialogs.fileRequests[0].title, QStringLiteral("Open Waveform File"));
        QVERIFY(ui.dialogs.fileRequests[0].filter.contains(QStringLiteral("*.awv")));
        QTRY_VERIFY(ui.view() && ui.view()->hasSignal());
        views::WaveformViewWindow* view = ui.view();
        QVERIFY(view->isVisible());
        QCOMPARE(view->windowTitle(), QStringLiteral("Waveform View - tone.awv"));
        auto* tabs = view->findChild<QTabWidget*>(QStringLiteral("TabViews"));
        QStringList names;
        for (int k = 0; k < tabs->count(); ++k) names << tabs->tabText(k);
        QCOMPARE(names, (QStringList{"Time", "Spectrum", "Constellation", "CCDF"}));
        // A constant-envelope tone: PAPR 0.00 dB; the header's settings listed.
        const QString report = view->levelReportText();
        QVERIFY2(report.contains(QStringLiteral("PAPR  0.0")), qPrintable(report));
        QVERIFY2(report.contains(QStringLiteral("SAMPLINGFREQ")), qPrintable(report));
        // The whole file in the time view, marker 1 high then low.
        const plots::TimeTraces& traces = view->timeTraces();
        QCOMPARE(traces.count, int64_t{kToneSamples});
        QCOMPARE(traces.sampleRateHz, 100e6);
        QVERIFY(!traces.marker1.empty());
        QCOMPARE(traces.marker1.front(), plots::kMarkerHighSeen);
        QCOMPARE(traces.marker1.back(), plots::kMarkerLowSeen);
        QCOMPARE(traces.marker2.back(), plots::kMarkerLowSeen);
        QVERIFY(ui.dialogs.messages.empty());
    }

    void refusedFileChangesNothing() {
        ViewUnderTest ui;
        const QString broken = ui.folder.filePath(QStringLiteral("broken.awv"));
        QFile tone(ui.tone);
        QVERIFY(tone.open(QIODevice::ReadOnly));
        writeBytes(broken, tone.read(60).toStdString());

        // Nothing shown yet: a message, and no view.
        ui.openThroughMenu(broken);
        QTRY_COMPARE(ui.dialogs.messages.size(), size_t{1});
        QVERIFY(ui.dialogs.messages[0].text.contains(broken));
        QVERIFY(ui.dialogs.messages[0].text.contains(QStringLiteral("byte 60")));
        QCOMPARE(ui.dialogs.messages[0].caption, QStringLiteral("Waveform View"));
        QVERIFY(!ui.view() || !ui.view()->isVisible());

        // A view of another file: it stays as it was.
        ui.openThroughMenu(ui.tone);
        QTRY_VERIFY(ui.view() && ui.view()->hasSignal() && ui.settled());
        const QString title = ui.view()->windowTitle(), report = ui.view()->levelReportText();
        ui.openThroughMenu(ui.folder.filePath(QStringLiteral("missing.awv")));
        QTRY_COMPARE(ui.dialogs.messages.size(), size_t{2});
        QVERIFY(ui.dialogs.messages[1].text.contains(QStringLiteral("missing.awv")));
        QTRY_VERIFY(ui.settled());
        QVERIFY(ui.view()->isVisible());
        QCOMPARE(ui.view()->windowTitle(), title);
        QCOMPARE(ui.view()->levelReportText(), report);
        QCOMPARE(ui.view()->timeTraces().count, int64_t{kToneSamples});
    }

    void cancelStopsAndKeepsThePreviousView() {
        ViewUnderTest ui;
        ui.commands()->openWaveformFile(ui.tone);
        QTRY_VERIFY(ui.view() && ui.view()->hasSignal() && ui.settled());
        views::WaveformViewWindow* view = ui.view();
        const QString title = view->windowTitle(), report = view->levelReportText();

        view->showSource(endlessSource(), QStringLiteral("endless"));
        auto* cancel = view->findChild<QPushButton*>(QStringLiteral("BtnCancel"));
        QTRY_VERIFY(cancel->isVisible());
        QTest::qWait(100);  // well into the work
        QVERIFY(view->busy());
        QElapsedTimer clock;
        clock.start();
        QTest::mouseClick(cancel, Qt::LeftButton);
        while (view->busy() && clock.elapsed() < 2000) QTest::qWait(5);
        QVERIFY2(clock.elapsed() < 200, qPrintable(QString::number(clock.elapsed())));
        QVERIFY(!cancel->isVisible());
        QTest::qWait(50);  // nothing late arrives either
        QCOMPARE(view->windowTitle(), title);
        QCOMPARE(view->levelReportText(), report);
        QCOMPARE(view->sourceName(), QStringLiteral("tone.awv"));
        QVERIFY(ui.dialogs.messages.empty());
    }

    void zoomReachesSingleSamples() {
        ViewUnderTest ui;
        ui.commands()->openWaveformFile(ui.tone);
        QTRY_VERIFY(ui.view() && ui.view()->hasSignal() && ui.settled());
        views::WaveformViewWindow* view = ui.view();
        view->setVisibleRange({100, 20});
        QTRY_COMPARE(view->timeTraces().count, int64_t{20});
        const plots::TimeTraces& traces = view->timeTraces();
        QVERIFY(traces.perSample());
        QCOMPARE(traces.first, int64_t{100});
        const std::vector<Sample> samples = toneSamples();
        for (int k = 0; k < 20; ++k) {
            const float i = static_cast<float>(static_cast<int>(samples[100 + k].codeA) - 8192) / 8191.0F;
            QCOMPARE(traces.i[k].min, i);
            QCOMPARE(traces.i[k].max, i);
        }
        // The read-out names the sample under the pointer.
        auto* canvas = view->findChild<QWidget*>(QStringLiteral("PictTime"));
        const plots::PlotFrame frame = plots::timePlotLayout(QRectF(canvas->rect()), traces).frame;
        const QPointF at(frame.x.toPixel(107.5), frame.area.center().y());
        QMouseEvent move(QEvent::MouseMove, at, canvas->mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(canvas, &move);
        QTRY_VERIFY2(view->cursorText().startsWith(QStringLiteral("Sample 107   Time 1.07 \u00b5s   I ")),
                     qPrintable(view->cursorText()));
        // "Zoom Out" doubles the range around its middle; "Whole File" shows everything.
        QTest::mouseClick(view->findChild<QPushButton*>(QStringLiteral("BtnZoomOut")), Qt::LeftButton);
        QTRY_COMPARE(view->visibleRange().count, int64_t{40});
        QTest::mouseClick(view->findChild<QPushButton*>(QStringLiteral("BtnWholeFile")), Qt::LeftButton);
        QTRY_COMPARE(view->timeTraces().count, int64_t{kToneSamples});
    }

    // The wheel zooms around the sample under the pointer; a drag moves the
    // samples with the pointer.
    void wheelZoomsAtThePointerAndDragPans() {
        ViewUnderTest ui;
        ui.commands()->openWaveformFile(ui.tone);
        QTRY_VERIFY(ui.view() && ui.view()->hasSignal() && ui.settled());
        views::WaveformViewWindow* view = ui.view();
        view->show();
        view->setVisibleRange({1000, 1000});
        QTRY_COMPARE(view->timeTraces().count, int64_t{1000});
        auto* canvas = view->findChild<QWidget*>(QStringLiteral("PictTime"));
        auto frameX = [&] { return plots::timePlotLayout(QRectF(canvas->rect()), view->timeTraces()).frame.x; };
        const QPointF at(frameX().toPixel(1500.0), canvas->height() / 2.0);
        QWheelEvent wheel(at, canvas->mapToGlobal(at), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(canvas, &wheel);
        QTRY_VERIFY(view->timeTraces().count < 1000);
        QVERIFY(view->visibleRange().count >= 790 && view->visibleRange().count <= 810);
        QVERIFY2(std::abs(frameX().toValue(at.x()) - 1500.0) <= 2.0, "the sample under the pointer stays there");

        const plots::SampleRange before = view->visibleRange();
        const double samplesPerPixel = frameX().toValue(101.0) - frameX().toValue(1.0);
        QTest::mousePress(canvas, Qt::LeftButton, Qt::NoModifier, at.toPoint());
        QMouseEvent drag(QEvent::MouseMove, at - QPointF(100, 0), canvas->mapToGlobal(at - QPointF(100, 0)),
                         Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(canvas, &drag);
        QTest::mouseRelease(canvas, Qt::LeftButton, Qt::NoModifier, (at - QPointF(100, 0)).toPoint());
        QTRY_VERIFY(view->visibleRange().first != before.first);
        QCOMPARE(view->visibleRange().count, before.count);
        QVERIFY(std::abs(static_cast<double>(view->visibleRange().first - before.first) - samplesPerPixel) <= 2.0);
    }

    void fftSizeAndExport() {
        ViewUnderTest ui;
        ui.commands()->openWaveformFile(ui.tone);
        QTRY_VERIFY(ui.view() && ui.view()->hasSignal() && ui.settled());
        views::WaveformViewWindow* view = ui.view();
        auto* fft = view->findChild<QComboBox*>(QStringLiteral("CmbFftSize"));
        QCOMPARE(fft->itemText(0), QStringLiteral("1024"));
        QCOMPARE(fft->itemText(fft->count() - 1), QStringLiteral("65536"));
        fft->setCurrentText(QStringLiteral("1024"));
        QTRY_VERIFY(ui.settled());
        view->findChild<QTabWidget*>(QStringLiteral("TabViews"))
            ->setCurrentIndex(views::WaveformViewWindow::SpectrumTab);

        const QString svg = ui.folder.filePath(QStringLiteral("spectrum.svg"));
        ui.dialogs.fileAnswers.push_back(svg);
        QTest::mouseClick(view->findChild<QPushButton*>(QStringLiteral("BtnExport")), Qt::LeftButton);
        QCOMPARE(ui.dialogs.fileRequests.back().title, QStringLiteral("Export View"));
        QVERIFY(ui.dialogs.fileRequests.back().save);
        QFile file(svg);
        QVERIFY(file.open(QIODevice::ReadOnly));
        QVERIFY(file.readAll().contains("1024 points"));

        const QString png = ui.folder.filePath(QStringLiteral("spectrum.png"));
        QCOMPARE(view->exportCurrentView(png, QSize(700, 400)), QString());
        QCOMPARE(QImage(png).size(), QSize(700, 400));
        QVERIFY(ui.dialogs.messages.empty());
    }

    void viewOfTheLoadedInputFollowsLoads() {
        ViewUnderTest ui;
        ui.action("MnuWaveformView")->trigger();
        QCOMPARE(ui.dialogs.messages.size(), size_t{1});
        QVERIFY(ui.dialogs.messages[0].text.contains(QStringLiteral("No input is loaded")));
        QVERIFY(!ui.view());

        // A real tone at a quarter of full scale, as "I,Q" text.
        const QString text = ui.folder.filePath(QStringLiteral("real.dat"));
        std::string lines;
        for (int n = 0; n < 1000; ++n) lines += std::to_string(0.25 * std::cos(n * 0.3)) + ",0\n";
        writeBytes(text, lines);
        ui.dialogs.fileAnswers.push_back(text);
        ui.action("MnuLoadIQ")->trigger();
        QTRY_COMPARE(ui.state.input.DataSize, 1000);
        ui.action("MnuWaveformView")->trigger();
        QTRY_VERIFY(ui.view() && ui.view()->hasSignal() && ui.settled());
        QCOMPARE(ui.view()->windowTitle(), QStringLiteral("Waveform View - real.dat"));
        QCOMPARE(ui.view()->timeTraces().count, int64_t{1000});
        // Scaled to its peak as the transform scales it: a real tone, PAPR 3.01 dB.
        QVERIFY2(ui.view()->levelReportText().contains(QStringLiteral("PAPR  3.0")),
                 qPrintable(ui.view()->levelReportText()));
        QVERIFY(ui.view()->followsLoadedInput());

        // A later load is followed.
        const QString longer = ui.folder.filePath(QStringLiteral("longer.dat"));
        lines.clear();
        for (int n = 0; n < 2000; ++n)
            lines += std::to_string(std::cos(n * 0.1)) + "," + std::to_string(std::sin(n * 0.1)) + "\n";
        writeBytes(longer, lines);
        ui.dialogs.fileAnswers.push_back(longer);
        ui.action("MnuLoadIQ")->trigger();
        QTRY_COMPARE(ui.view()->timeTraces().count, int64_t{2000});
        QCOMPARE(ui.view()->windowTitle(), QStringLiteral("Waveform View - longer.dat"));
        QVERIFY(ui.dialogs.messages.size() == 1);
    }
};

}  // namespace orvenda::testing

QTEST_MAIN(orvenda::testing::WaveformViewTest)
#include "waveform_view_test.moc"
