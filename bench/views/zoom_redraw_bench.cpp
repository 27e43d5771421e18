// The redraw of a zoom into 1,000,000 samples, as the waveform view does it:
// the envelope of the visible range read from an ".awv" file (page cache
// warm), turned into the picture's traces and painted into a window-sized
// image. Prints the best and the worst of several zooms.
//   zoom_redraw_bench [samples (default 16777216)] [folder (default /tmp)]
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "core/analysis/awv_source.h"
#include "core/analysis/envelope.h"
#include "gui/plots/signal_figures.h"
#include "gui/plots/time_plot.h"

namespace {

using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// A noisy tone with marker 1 toggling every 4096 samples, written block by block.
void writeWaveform(const std::string& path, uint64_t samples) {
    std::ofstream out(path, std::ios::binary);
    out << "{SAMPLINGFREQ:200000000.000000}\n{WAVEDATA:" << samples * 8 << ";";
    std::vector<uint32_t> block;
    uint64_t state = 12345;
    for (uint64_t n = 0; n < samples;) {
        block.clear();
        for (int k = 0; k < 65536 && n < samples; ++k, ++n) {
            state = state * 6364136223846793005ULL + 1442695040888963407ULL;
            const double noise = static_cast<double>(state >> 40) / 16777216.0 - 0.5;
            const double phase = 0.01 * static_cast<double>(n);
            const auto i = static_cast<uint32_t>(8192 + std::lround(6000 * std::cos(phase) + 1000 * noise));
            const auto q = static_cast<uint32_t>(8192 + std::lround(6000 * std::sin(phase) - 1000 * noise));
            block.push_back(i | (((n / 4096) & 1) ? 0x4000u : 0u));
            block.push_back(q);
        }
        out.write(reinterpret_cast<const char*>(block.data()), static_cast<std::streamsize>(block.size() * 4));
    }
    out << "}";
}

}  // namespace

int main(int argc, char* argv[]) {
    const uint64_t samples = argc > 1 ? std::strtoull(argv[1], nullptr, 10) : 16777216;
    const std::filesystem::path folder = argc > 2 ? argv[2] : "/tmp";
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    int qtArgc = 1;
    QGuiApplication application(qtArgc, argv);
    const std::string path = (folder / "zoom_redraw_bench.awv").string();
    writeWaveform(path, samples);
    auto opened = orvenda::analysis::AwvSampleSource::open(path);
    if (auto* error = std::get_if<halvik::AwvError>(&opened)) {
        std::fprintf(stderr, "%s: %s\n", path.c_str(), error->describe().c_str());
        return 1;
    }
    const auto& source = *std::get<0>(opened);
    const QRectF bounds(0, 0, 1200, 560);  // the time tab of a 1200 x 640 window
    const auto columns = static_cast<size_t>(orvenda::plots::timePlotColumns(bounds, true));
    const uint64_t range = std::min<uint64_t>(1'000'000, samples);
    QImage image(bounds.size().toSize(), QImage::Format_RGB32);
    {
        // The window has painted once before any zoom: fonts and glyphs are loaded.
        QPainter painter(&image);
        orvenda::plots::paintTimePlot(painter, bounds, orvenda::plots::TimeTraces{});
    }
    double bestTotal = 1e300, worstTotal = 0, worstRead = 0, worstPaint = 0;
    for (int zoom = 0; zoom < 12; ++zoom) {
        const uint64_t first = (samples - range) / 11 * static_cast<uint64_t>(zoom);
        const auto start = Clock::now();
        const orvenda::analysis::Envelope envelope =
            orvenda::analysis::computeEnvelope(source, first, first + range, columns);
        const double read = millisecondsSince(start);
        const auto paintStart = Clock::now();
        const orvenda::plots::TimeTraces traces = orvenda::plots::timeTraces(envelope, 200e6, true);
        {
            QPainter painter(&image);
            orvenda::plots::paintTimePlot(painter, bounds, traces);
        }
        const double paint = millisecondsSince(paintStart);
        if (std::getenv("ZOOM_BENCH_VERBOSE")) std::printf("zoom %d: read %.1f ms, paint %.1f ms\n", zoom, read, paint);
        bestTotal = std::min(bestTotal, read + paint);
        worstTotal = std::max(worstTotal, read + paint);
        worstRead = std::max(worstRead, read);
        worstPaint = std::max(worstPaint, paint);
    }
    std::printf("file %llu samples, zoom to %llu samples in %zu columns, 12 zooms across the file\n",
                static_cast<unsigned long long>(samples), static_cast<unsigned long long>(range), columns);
    std::printf("redraw best %.1f ms, worst %.1f ms (envelope read worst %.1f ms, traces and painting worst %.1f ms)\n",
                bestTotal, worstTotal, worstRead, worstPaint);
    std::filesystem::remove(path);
    return 0;
}
