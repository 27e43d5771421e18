#include "cli/plot_command.h"

#include <CLI/CLI.hpp>
#include <QGuiApplication>
#include <QPainter>
#include <charconv>
#include <ostream>

#include "cli/command_line.h"
#include "cli/exit_codes.h"
#include "cli/input_formats.h"
#include "cli/plot_source.h"
#include "core/analysis/signal_analysis.h"
#include "core/settings/text_conversions.h"
#include "gui/plots/ccdf_plot.h"
#include "gui/plots/constellation_plot.h"
#include "gui/plots/picture_export.h"
#include "gui/plots/signal_figures.h"
#include "gui/plots/spectrum_plot.h"
#include "gui/plots/time_plot.h"

namespace orvenda::cli {
namespace {

constexpr char kPlotExamples[] = R"(Examples:
  orvenda-cli plot capture.awv -o capture-time.png
  orvenda-cli plot capture.awv -o spectrum.svg --view spectrum --fft-size 16384
  orvenda-cli plot samples.bin --layout float --fs 61.44 -o ccdf.png --view ccdf --size 800x500
An input file is drawn as a baseband conversion with gain 1.0 would write it.)";

const char* const kViews[] = {"time", "spectrum", "constellation", "ccdf"};

struct UsageProblem {
    std::string text;
};

std::optional<int> wholeNumber(const std::string& text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

// The sampling frequency the pictures use: --fs over the file's own.
double pictureRate(const analysis::SampleSource& source, const std::optional<std::string>& fsMhz) {
    if (fsMhz) return settings::leadingNumber(*fsMhz) * 1e6;
    return source.samplingFrequency();
}

plots::PaintFunction picture(const std::string& view, const analysis::SampleSource& source,
                             const analysis::AnalysisResult& result, double rate) {
    if (view == "spectrum") {
        plots::SpectrumCurve curve = plots::spectrumCurve(result.spectrum, rate > 0.0);
        // The analysis scaled the axis by the file's own rate (1 when unknown).
        const double own = source.samplingFrequency() > 0.0 ? source.samplingFrequency() : 1.0;
        if (rate > 0.0 && rate != own)
            for (double& f : curve.frequencyHz) f *= rate / own;
        return [curve](QPainter& p, const QRectF& b) { plots::paintSpectrumPlot(p, b, curve); };
    }
    if (view == "constellation") {
        plots::DensityGrid grid = plots::densityGrid(result.constellation);
        return [grid](QPainter& p, const QRectF& b) { plots::paintConstellationPlot(p, b, grid); };
    }
    if (view == "ccdf") {
        plots::CcdfCurve curve = plots::ccdfCurve(result.ccdf);
        return [curve](QPainter& p, const QRectF& b) { plots::paintCcdfPlot(p, b, curve); };
    }
    plots::TimeTraces traces = plots::timeTraces(result.overview, rate, source.hasMarkers());
    return [traces](QPainter& p, const QRectF& b) { plots::paintTimePlot(p, b, traces); };
}

// Checks what parsing cannot; throws UsageProblem.
void check(const PlotArguments& a) {
    if (std::find(std::begin(kViews), std::end(kViews), a.view) == std::end(kViews))
        throw UsageProblem{"--view: \"" + a.view + "\" is not one of time, spectrum, constellation, ccdf"};
    if (!plots::pictureFormatOf(QString::fromStdString(a.output)))
        throw UsageProblem{"-o: \"" + a.output + "\" must end in .png or .svg"};
    if (!parsePictureSize(a.size))
        throw UsageProblem{"--size: \"" + a.size + "\" is not WIDTHxHEIGHT with both 16 to 10000"};
    const std::optional<int> fft = wholeNumber(a.fftSize);
    if (!fft || !analysis::isValidFftSize(static_cast<size_t>(*fft)))
        throw UsageProblem{"--fft-size: \"" + a.fftSize + "\" is not a power of two from 1024 to 65536"};
    if (a.layout && !formatNamed(*a.layout))
        throw UsageProblem{"--layout: \"" + *a.layout + "\" is not one of " + kFormatNames};
    if (a.fs) {
        const std::optional<double> mhz = settings::strictNumber(*a.fs);
        if (!mhz || !(*mhz > 0.0)) throw UsageProblem{"--fs: \"" + *a.fs + "\" is not a positive number of MHz"};
    }
}

}  // namespace

std::optional<std::pair<int, int>> parsePictureSize(const std::string& text) {
    const size_t x = text.find_first_of("xX");
    if (x == std::string::npos) return std::nullopt;
    const std::optional<int> width = wholeNumber(text.substr(0, x)), height = wholeNumber(text.substr(x + 1));
    if (!width || !height || *width < 16 || *height < 16 || *width > 10000 || *height > 10000) return std::nullopt;
    return std::pair{*width, *height};
}

int runPlot(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
    PlotArguments a;
    CLI::App app{"Draw the time, spectrum, constellation or CCDF picture of a waveform or input file",
                 std::string(kProgramName) + " plot"};
    app.add_option("file", a.file, "Waveform file (.awv) or input file")->required()->type_name("FILE");
    app.add_option("-o,--output", a.output, "The picture to write: .png or .svg")->required()->type_name("OUT");
    app.add_option("--view", a.view, "time (default), spectrum, constellation or ccdf")->type_name("VIEW");
    app.add_option("--fs", a.fs, "Sampling frequency in MHz (an input's, or instead of the file's)")->type_name("MHZ");
    app.add_option("--layout", a.layout, std::string("Layout of an input file: ") + kFormatNames)->type_name("LAYOUT");
    app.add_option("--size", a.size, "Picture size in pixels (default 1000x600)")->type_name("WxH");
    app.add_option("--fft-size", a.fftSize, "Spectrum points per segment, 1024 to 65536 (default 4096)")
        ->type_name("N");
    app.footer(kPlotExamples);
    std::vector<std::string> reversed(args.rbegin(), args.rend());  // CLI11 takes them last first
    try {
        app.parse(reversed);
        check(a);
    } catch (const CLI::ParseError& error) {
        const int code = app.exit(error, out, err);
        return code == static_cast<int>(CLI::ExitCodes::Success) ? kExitSuccess : kExitUsage;
    } catch (const UsageProblem& problem) {
        err << kProgramName << " plot: " << problem.text << "\nRun with --help for more information.\n";
        return kExitUsage;
    }

    PlotSource opened = openPlotSource(a.file, a.layout, a.fs);
    if (!opened.source) {
        err << kProgramName << ": " << a.file << ": " << opened.error << '\n';
        return kExitFailure;
    }
    const auto [width, height] = *parsePictureSize(a.size);
    analysis::AnalysisSettings settings;
    settings.spectrum.fftSize = static_cast<size_t>(*wholeNumber(a.fftSize));
    settings.overviewColumns =
        static_cast<size_t>(plots::timePlotColumns(QRectF(0, 0, width, height), opened.source->hasMarkers()));
    const analysis::AnalysisResult result = analysis::analyse(*opened.source, settings);
    if (!result.status.done()) {
        err << kProgramName << ": " << a.file << ": " << result.status.error << '\n';
        return kExitFailure;
    }

    // Painting text needs a GUI application; the offscreen platform needs no display.
    static int argc = 1;
    static char name[] = "orvenda-cli";
    static char* argv[] = {name, nullptr};
    std::optional<QGuiApplication> application;
    if (!QGuiApplication::instance()) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        application.emplace(argc, argv);
    }
    const QString problem =
        plots::writePicture(QString::fromStdString(a.output), QSize(width, height),
                            picture(a.view, *opened.source, result, pictureRate(*opened.source, a.fs)));
    if (!problem.isEmpty()) {
        err << kProgramName << ": " << problem.toStdString() << '\n';
        return kExitFailure;
    }
    return kExitSuccess;
}

}  // namespace orvenda::cli
