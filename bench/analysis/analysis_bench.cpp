// Times the signal analysis on a float I/Q file read through the engine's
// code path (page cache warm), and the envelope of a 1,000,000-sample range
// as a zoomed view redraws it; reports the peak memory the analysis adds.
//
//   analysis_bench [--dir DIR] [--samples N] [--fft N] [--runs K] [--keep]
//
// The file (8 bytes per sample, 512 MiB at the default 67,108,864 samples)
// is written once into DIR and removed afterwards unless --keep.
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>

#include "bench/common/bench_data_writer.h"
#include "bench/engine/machine_info.h"
#include "core/analysis/conversion_source.h"
#include "core/analysis/envelope.h"
#include "core/analysis/signal_analysis.h"

namespace {

using namespace orvenda::analysis;

struct Options {
    std::string dir = (std::filesystem::temp_directory_path() / "orvenda-analysis-bench").string();
    std::uint64_t samples = 67'108'864;
    std::size_t fft = 4096;
    int runs = 3;
    bool keep = false;
};

Options parse(int argc, char** argv) {
    Options o;
    for (int k = 1; k < argc; ++k) {
        std::string a = argv[k];
        auto value = [&]() -> std::string {
            if (k + 1 >= argc) {
                std::fprintf(stderr, "%s needs a value\n", a.c_str());
                std::exit(2);
            }
            return argv[++k];
        };
        if (a == "--dir")
            o.dir = value();
        else if (a == "--samples")
            o.samples = std::stoull(value());
        else if (a == "--fft")
            o.fft = std::stoul(value());
        else if (a == "--runs")
            o.runs = std::stoi(value());
        else if (a == "--keep")
            o.keep = true;
        else {
            std::fprintf(stderr, "usage: analysis_bench [--dir DIR] [--samples N] [--fft N] [--runs K] [--keep]\n");
            std::exit(2);
        }
    }
    return o;
}

// kB of a /proc/self/status line (VmRSS, VmHWM).
long statusKb(const char* key) {
    std::ifstream in("/proc/self/status");
    for (std::string line; std::getline(in, line);)
        if (line.rfind(key, 0) == 0) return std::atol(line.c_str() + std::strlen(key) + 1);
    return -1;
}

// Starts a new peak: VmHWM falls back to the current resident size.
void resetPeak() { std::ofstream("/proc/self/clear_refs") << "5"; }

double cpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// The float file and its largest magnitude (what the load scan reports).
double writeInput(const std::string& path, std::uint64_t samples) {
    orvenda::bench::Signal signal;
    double peak = 0.0;
    if (std::filesystem::exists(path) && std::filesystem::file_size(path) == samples * 8) {
        // The same fixed signal: only its peak is needed again.
        for (std::uint64_t k = 0; k < 2 * samples; ++k)
            peak = std::max(peak, std::fabs(static_cast<double>(signal.next())));
        return peak;
    }
    orvenda::bench::Writer writer(path);
    float pair[2];
    for (std::uint64_t k = 0; k < samples; ++k) {
        pair[0] = signal.next();
        pair[1] = signal.next();
        peak = std::max({peak, std::fabs(static_cast<double>(pair[0])), std::fabs(static_cast<double>(pair[1]))});
        writer.append(pair, sizeof pair);
    }
    writer.finish();
    return peak;
}

}  // namespace

int main(int argc, char** argv) {
    const Options o = parse(argc, argv);
    std::filesystem::create_directories(o.dir);
    const std::string path = (std::filesystem::path(o.dir) / "analysis-bench.f32").string();
    std::printf("machine: %s, load %s\n", orvenda::bench::machineDescription().c_str(),
                orvenda::bench::loadAverage().c_str());
    std::printf("input: %llu samples of float I/Q (%.0f MiB) in %s\n", static_cast<unsigned long long>(o.samples),
                static_cast<double>(o.samples) * 8 / 1048576.0, path.c_str());
    const double peak = writeInput(path, o.samples);

    ConversionInput input;
    input.arguments.iPath = path;
    input.arguments.inputDataType = HALVIK_TYPE_FLOAT_PAIRS;
    input.arguments.inputFileKind = HALVIK_KIND_IQ_FILE;
    input.arguments.sampleCount = static_cast<int32_t>(o.samples);
    input.arguments.peakValue = peak;
    ConversionSettings& s = input.arguments.settings;
    s = ConversionSettings{};
    s.Fs = 100e6;
    s.AWGGain = 1.0;
    s.IQFilter = s.StartTrigger = s.OutputSequence = s.IQOutput = s.IQOffset = -1;
    ConversionOpenResult opened = ConversionSampleSource::open(input);
    if (!opened.status.done()) {
        std::fprintf(stderr, "cannot open the input: %s\n", opened.status.error.c_str());
        return 1;
    }
    const SampleSource& source = *opened.source;
    AnalysisSettings settings;
    settings.spectrum.fftSize = o.fft;
    settings.overviewColumns = 1920;

    // At rest: the source is open, nothing analysed yet. The first run also
    // warms the page cache; it counts for the peak but not for the time.
    const long restKb = statusKb("VmRSS:");
    resetPeak();
    analyse(source, settings);
    double best = 1e300, bestCpu = 1e300;
    AnalysisResult result;
    for (int run = 0; run < o.runs; ++run) {
        const double cpu0 = cpuSeconds();
        const auto t0 = std::chrono::steady_clock::now();
        result = analyse(source, settings);
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - t0;
        best = std::min(best, took.count());
        bestCpu = std::min(bestCpu, cpuSeconds() - cpu0);
    }
    const long peakKb = statusKb("VmHWM:");
    if (!result.status.done()) {
        std::fprintf(stderr, "analysis failed: %s\n", result.status.error.c_str());
        return 1;
    }
    std::printf("whole analysis (levels, %zu-point spectrum, constellation, CCDF, 1920-column overview):\n", o.fft);
    std::printf("  best of %d: %.3f s wall, %.3f s CPU, %.0f MiB/s, %.1f Msamples/s\n", o.runs, best, bestCpu,
                static_cast<double>(o.samples) * 8 / 1048576.0 / best, static_cast<double>(o.samples) / best / 1e6);
    std::printf("  memory: %.1f MiB at rest, peak %.1f MiB above rest\n", static_cast<double>(restKb) / 1024.0,
                static_cast<double>(peakKb - restKb) / 1024.0);
    for (const std::string& line : levelReportLines(result.levels)) std::printf("  %s\n", line.c_str());

    const std::uint64_t range = std::min<std::uint64_t>(1'000'000, o.samples);
    for (std::uint64_t begin : {o.samples / 2 - range / 2, o.samples - range}) {
        double bestRange = 1e300;
        for (int run = 0; run < 10; ++run) {
            const auto t0 = std::chrono::steady_clock::now();
            Envelope envelope = computeEnvelope(source, begin, begin + range, 1920);
            const std::chrono::duration<double> took = std::chrono::steady_clock::now() - t0;
            bestRange = std::min(bestRange, took.count());
            if (!envelope.status.done()) return 1;
        }
        std::printf("envelope of %llu samples from %llu in 1920 columns: best of 10 %.1f ms\n",
                    static_cast<unsigned long long>(range), static_cast<unsigned long long>(begin), bestRange * 1e3);
    }
    if (!o.keep) std::filesystem::remove(path);
    return 0;
}
