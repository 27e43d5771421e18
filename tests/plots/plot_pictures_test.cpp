// The pictures as a user sees them: a lone spike, single samples, marker
// strips and densities land on the pixels where they belong; the read-out
// names what is under the pointer; pictures are written as PNG and SVG.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include "gui/plots/ccdf_plot.h"
#include "gui/plots/constellation_plot.h"
#include "gui/plots/cursor_readout.h"
#include "gui/plots/picture_export.h"
#include "gui/plots/plot_style.h"
#include "gui/plots/sample_columns.h"
#include "gui/plots/spectrum_plot.h"
#include "gui/plots/time_plot.h"

namespace orvenda::plots {
namespace {

// Text needs a GUI application; the tests run on the offscreen platform.
void ensureApplication() {
    static int argc = 1;
    static char name[] = "plot_pictures_test";
    static char* argv[] = {name, nullptr};
    static QGuiApplication application(argc, argv);
}

const QRectF kBounds(0, 0, 1000, 600);

QImage render(const PaintFunction& paint) {
    QImage image(kBounds.size().toSize(), QImage::Format_RGB32);
    QPainter painter(&image);
    paint(painter, kBounds);
    return image;
}

TimeTraces flatTraces(int64_t count, int entries) {
    TimeTraces traces;
    traces.first = 0;
    traces.count = count;
    traces.i.assign(entries, MinMax{});
    traces.q.assign(entries, MinMax{});
    traces.magnitude.assign(entries, MinMax{});
    return traces;
}

class PlotPictures : public ::testing::Test {
protected:
    void SetUp() override { ensureApplication(); }
};

TEST_F(PlotPictures, LoneSpikeShowsInItsColumn) {
    const int columns = timePlotColumns(kBounds, false);
    TimeTraces traces = flatTraces(67108864, columns);
    const int spikeColumn = columns * 2 / 3;
    traces.i[spikeColumn] = {0.0F, 0.9F};
    const QImage image = render([&](QPainter& p, const QRectF& b) { paintTimePlot(p, b, traces); });
    const PlotFrame frame = timePlotLayout(kBounds, traces).frame;
    const SampleRange span = columnSamples({0, traces.count}, columns, spikeColumn);
    const int x =
        static_cast<int>(frame.x.toPixel(static_cast<double>(span.first) + static_cast<double>(span.count) / 2.0));
    const int y = static_cast<int>(frame.y.toPixel(0.8));
    EXPECT_EQ(QColor(image.pixel(x, y)), kIColor);
    // Its neighbours stay at 0: nothing there at 0.8.
    EXPECT_NE(QColor(image.pixel(x - 5, y)), kIColor);
    EXPECT_NE(QColor(image.pixel(x + 5, y)), kIColor);
}

TEST_F(PlotPictures, SingleSamplesAreHeldSteps) {
    TimeTraces traces = flatTraces(10, 10);
    traces.first = 1000;
    traces.q[3] = {0.5F, 0.5F};
    ASSERT_TRUE(traces.perSample());
    const QImage image = render([&](QPainter& p, const QRectF& b) { paintTimePlot(p, b, traces); });
    const PlotFrame frame = timePlotLayout(kBounds, traces).frame;
    const int y = static_cast<int>(std::round(frame.y.toPixel(0.5)));
    // Across the whole step of sample 1003, not beyond it.
    for (double at : {1003.25, 1003.5, 1003.75})
        EXPECT_EQ(QColor(image.pixel(static_cast<int>(frame.x.toPixel(at)), y)), kQColor) << at;
    EXPECT_NE(QColor(image.pixel(static_cast<int>(frame.x.toPixel(1005.5)), y)), kQColor);
}

TEST_F(PlotPictures, MarkerStripsFollowTheSamples) {
    const int columns = timePlotColumns(kBounds, true);
    TimeTraces traces = flatTraces(4096, columns);
    traces.marker1.assign(columns, kMarkerLowSeen);
    traces.marker2.assign(columns, kMarkerLowSeen);
    for (int c = 0; c < columns / 2; ++c) traces.marker1[c] = kMarkerHighSeen;
    const QImage image = render([&](QPainter& p, const QRectF& b) { paintTimePlot(p, b, traces); });
    const TimePlotLayout layout = timePlotLayout(kBounds, traces);
    ASSERT_FALSE(layout.marker1Strip.isEmpty());
    const QRectF strip = layout.marker1Strip;
    const int high = static_cast<int>(strip.top() + 3), low = static_cast<int>(std::ceil(strip.bottom() - 3));
    const int early = static_cast<int>(layout.frame.x.toPixel(1000)),
              late = static_cast<int>(layout.frame.x.toPixel(3000));
    EXPECT_EQ(QColor(image.pixel(early, high)), kMarker1Color);
    EXPECT_NE(QColor(image.pixel(early, low)), kMarker1Color);
    EXPECT_EQ(QColor(image.pixel(late, low)), kMarker1Color);
    EXPECT_NE(QColor(image.pixel(late, high)), kMarker1Color);
}

TEST_F(PlotPictures, DensityCellsSitWhereTheirValuesAre) {
    DensityGrid grid;
    grid.size = 4;
    grid.counts.assign(16, 0);
    grid.counts[0 * 4 + 3] = 5;  // lowest Q, highest I: bottom right
    grid.counts[3 * 4 + 0] = 1;  // highest Q, lowest I: top left
    const QImage image = densityImage(grid);
    ASSERT_EQ(image.size(), QSize(4, 4));
    EXPECT_NE(QColor(image.pixel(3, 3)), kPlotBackground);
    EXPECT_NE(QColor(image.pixel(0, 0)), kPlotBackground);
    EXPECT_EQ(QColor(image.pixel(1, 1)), kPlotBackground);
    EXPECT_NE(image.pixel(3, 3), image.pixel(0, 0));  // the fuller cell has a colour of its own
}

TEST_F(PlotPictures, ReadOutNamesWhatIsUnderThePointer) {
    TimeTraces traces = flatTraces(100, 100);
    traces.first = 5000;
    traces.sampleRateHz = 1e6;
    traces.i[42] = {0.25F, 0.25F};
    const PlotFrame frame = timePlotLayout(kBounds, traces).frame;
    const QString time = timeReadout(traces, kBounds, {frame.x.toPixel(5042.5), frame.area.center().y()});
    EXPECT_TRUE(time.startsWith(QStringLiteral("Sample 5042   Time 5.04 ms   I 0.2500   Q 0.0000")))
        << time.toStdString();
    EXPECT_TRUE(timeReadout(traces, kBounds, {2, 2}).isEmpty());

    SpectrumCurve curve;
    curve.frequencyHz = {-2e6, -1e6, 0, 1e6, 2e6};
    curve.powerDb = {-90, -60, -30, -3, -80};
    const PlotFrame spectrum = spectrumPlotFrame(kBounds, curve);
    EXPECT_EQ(spectrumReadout(curve, kBounds, {spectrum.x.toPixel(1.2e6), spectrum.area.center().y()}),
              QStringLiteral("Frequency 1.00 MHz   Level -3.00 dBFS"));

    CcdfCurve ccdf;
    ccdf.levelDb = {0.0, 0.1, 0.2, 0.3};
    ccdf.probability = {0.5, 0.25, 0.125, 0.0};
    const PlotFrame ccdfFrame = ccdfPlotFrame(kBounds, ccdf);
    EXPECT_TRUE(ccdfReadout(ccdf, kBounds, {ccdfFrame.x.toPixel(0.15), ccdfFrame.area.center().y()})
                    .endsWith(QStringLiteral("Probability 1.25e-01")));

    DensityGrid grid;
    grid.size = 2;
    grid.counts = {7, 0, 0, 0};
    const PlotFrame square = constellationPlotFrame(kBounds, grid);
    EXPECT_EQ(constellationReadout(grid, kBounds, {square.x.toPixel(-0.5), square.y.toPixel(-0.5)}),
              QStringLiteral("I -0.5000   Q -0.5000   Samples in cell 7"));
    EXPECT_EQ(siText(61.44e6, "Hz"), QStringLiteral("61.4 MHz"));
    EXPECT_EQ(siText(0.0, "s"), QStringLiteral("0.00 s"));
}

TEST_F(PlotPictures, PicturesAreWrittenAsPngAndSvg) {
    QTemporaryDir folder;
    CcdfCurve curve;
    curve.levelDb = {0, 1, 2};
    curve.probability = {1, 0.1, 0};
    const PaintFunction paint = [&](QPainter& p, const QRectF& b) { paintCcdfPlot(p, b, curve); };

    const QString png = folder.filePath("ccdf.PNG");
    EXPECT_EQ(writePicture(png, QSize(320, 200), paint), QString());
    EXPECT_EQ(QImage(png).size(), QSize(320, 200));

    const QString svg = folder.filePath("ccdf.svg");
    EXPECT_EQ(writePicture(svg, QSize(640, 480), paint), QString());
    QFile file(svg);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    EXPECT_TRUE(text.contains("<svg"));
    EXPECT_TRUE(text.contains("width=\"") && text.contains("640"));
    EXPECT_TRUE(text.contains("Gaussian noise"));

    const QString jpg = folder.filePath("ccdf.jpg");
    EXPECT_TRUE(writePicture(jpg, QSize(10, 10), paint).contains(QStringLiteral(".png or .svg")));
    EXPECT_FALSE(QFile::exists(jpg));
    const QString nowhere = folder.filePath("missing/ccdf.png");
    EXPECT_TRUE(writePicture(nowhere, QSize(10, 10), paint).startsWith(nowhere));
    EXPECT_FALSE(QFile::exists(nowhere));
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files).size(), 2);  // no temporary file left behind
}

}  // namespace
}  // namespace orvenda::plots
