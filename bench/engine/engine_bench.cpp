// The engine benchmark: generates N samples of every input layout, times
// Halvik on each (baseband, and both IF forms on float pairs) with the page
// cache warm, and prints a Markdown table of samples/s, input MB/s and peak
// resident memory against the targets; then checks that peak memory does not
// grow with N. Each conversion runs in its own child process.
//
//   halvik_engine_bench [--samples N] [--repeat R] [--cases a,b,...]
//                       [--dir FOLDER] [--no-memory-check] [--memory-check-only]
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "bench/engine/bench_cases.h"
#include "bench/engine/bench_inputs.h"
#include "bench/engine/child_run.h"
#include "bench/engine/machine_info.h"
#include "bench/engine/sincos_rate.h"

namespace fs = std::filesystem;
using namespace orvenda::bench;

namespace {

constexpr std::int64_t kDefaultSamples = 16'777'216;
constexpr std::int64_t kMemorySmall = 1'048'576;
constexpr std::int64_t kMemoryLarge = 67'108'864;
constexpr double kMemoryAllowanceMiB = 4.0;

struct Options {
    std::int64_t samples = kDefaultSamples;
    int repeat = 3;
    std::vector<std::string> cases;
    std::string folder;
    bool table = true;
    bool memoryCheck = true;
};

[[noreturn]] void usage(const char* why, int exitCode = 2) {
    std::fprintf(stderr,
                 "%s\nusage: halvik_engine_bench [--samples N] [--repeat R] [--cases a,b,...] [--dir FOLDER]\n"
                 "                           [--no-memory-check] [--memory-check-only]\ncases:",
                 why);
    for (const BenchCase& c : benchCases()) std::fprintf(stderr, " %s", c.name.c_str());
    std::fprintf(stderr, "\n");
    std::exit(exitCode);
}

Options parse(int argc, char** argv) {
    Options o;
    for (int k = 1; k < argc; ++k) {
        const std::string a = argv[k];
        auto value = [&]() -> std::string {
            if (k + 1 >= argc) usage(("missing value after " + a).c_str());
            return argv[++k];
        };
        if (a == "--help") {
            usage("Times Halvik on every input layout and prints a Markdown table.", 0);
        } else if (a == "--samples") {
            o.samples = std::atoll(value().c_str());
            if (o.samples < 1 || o.samples > 268'435'455) usage("--samples must be 1..268435455");
        } else if (a == "--repeat") {
            o.repeat = std::max(1, std::atoi(value().c_str()));
        } else if (a == "--cases") {
            std::istringstream list(value());
            for (std::string name; std::getline(list, name, ',');) {
                if (!findCase(name)) usage(("unknown case " + name).c_str());
                o.cases.push_back(name);
            }
        } else if (a == "--dir") {
            o.folder = value();
        } else if (a == "--no-memory-check") {
            o.memoryCheck = false;
        } else if (a == "--memory-check-only") {
            o.table = false;
        } else {
            usage(("unknown argument " + a).c_str());
        }
    }
    if (o.cases.empty()) {
        for (const BenchCase& c : benchCases()) o.cases.push_back(c.name);
    }
    return o;
}

unsigned threadsNow() {
    if (const char* text = std::getenv("HALVIK_THREADS")) {
        const int value = std::atoi(text);
        if (value >= 1) return static_cast<unsigned>(value);
    }
    return std::max(1u, std::thread::hardware_concurrency());
}

std::string ownPath() { return fs::read_symlink("/proc/self/exe").string(); }

// A scratch folder, removed with everything in it at the end.
class Scratch {
public:
    explicit Scratch(const std::string& parent) {
        std::string pattern = (parent.empty() ? fs::temp_directory_path() : fs::path(parent)) / "halvik-bench-XXXXXX";
        if (!::mkdtemp(pattern.data())) usage(("cannot create a folder in " + parent).c_str());
        path_ = pattern;
    }
    ~Scratch() {
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

// Best time and largest peak memory of `repeat` runs of one engine set-up.
struct Measured {
    RunResult best;
    bool sameDigests = true;  // every run wrote the same bytes
};

void record(Measured& m, const RunResult& run) {
    if (!m.best.ok) {
        m.best = run;
        return;
    }
    m.sameDigests = m.sameDigests && run.digest == m.best.digest;
    const double peak = std::max(m.best.peakRssMiB, run.peakRssMiB);
    if (run.seconds < m.best.seconds) m.best = run;
    m.best.peakRssMiB = peak;
}

// Today's engine and the current one, alternating run by run so that both
// see the same moments of a busy machine.
struct SideBySide {
    Measured today;
    Measured now;
    std::string error;
};

SideBySide measure(const BenchCase& c, std::int64_t samples, const InputFiles& inputs, const std::string& folder,
                   int repeat, bool withReference) {
    SideBySide result;
    for (int r = 0; r < repeat; ++r) {
        for (bool reference : {true, false}) {
            if (reference && !withReference) continue;
            warmPageCache(inputs.paths);
            ChildRequest request{&c, samples, inputs.peak, inputs.paths, folder + "/out.awv", reference};
            const RunResult run = runInChild(ownPath(), request);
            if (!run.ok) {
                result.error = run.error;
                return result;
            }
            record(reference ? result.today : result.now, run);
        }
    }
    return result;
}

std::string fmt(const char* format, double value) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

int runTable(const Options& o, const std::string& folder) {
    std::map<Layout, InputFiles> inputs;
    const double step = (kIntermediateFrequency * 6.28318530717958) / kSamplingFrequency;
    std::fprintf(stderr, "measuring sin/cos over %lld phases...\n", static_cast<long long>(o.samples));
    const double sinCosRate = sinCosPairsPerSecond(o.samples, step);

    std::printf("Machine: %s; load average %s at the start.\n\n", machineDescription().c_str(), loadAverage().c_str());
    std::printf("N = %lld samples per case, best of %d runs, page cache warm; MB = 10^6 bytes.\n",
                static_cast<long long>(o.samples), o.repeat);
    std::printf("C library sin+cos on one thread for these phases: %.1f million pairs/s.\n", sinCosRate / 1e6);
    std::printf(
        "Today: HALVIK_THREADS=1, every IF sample shifted in both passes, text read line by line; now: %u "
        "threads%s.\n\n",
        threadsNow(), std::getenv("HALVIK_THREADS") ? " (HALVIK_THREADS)" : " (one per core)");
    std::printf(
        "| Case | Input bytes | Today (s) | Now (s) | Today M samples/s | Now M samples/s | Now input MB/s "
        "| Speed-up | Peak RSS today / now (MiB) | Same bytes | Target | Met |\n");
    std::printf("|---|---:|---:|---:|---:|---:|---:|---:|---:|---|---|---|\n");
    std::fflush(stdout);

    int missed = 0;
    for (const std::string& name : o.cases) {
        const BenchCase& c = *findCase(name);
        if (!inputs.count(c.layout)) {
            std::fprintf(stderr, "writing %s input...\n", name.c_str());
            inputs[c.layout] = prepareInputs(c.layout, o.samples, folder);
        }
        const InputFiles& in = inputs[c.layout];
        std::fprintf(stderr, "running %s...\n", name.c_str());
        const SideBySide r = measure(c, o.samples, in, folder, o.repeat, true);
        if (!r.error.empty()) {
            std::printf("| %s | failed: %s | | | | | | | | | | |\n", name.c_str(), r.error.c_str());
            ++missed;
            continue;
        }
        const RunResult& today = r.today.best;
        const RunResult& now = r.now.best;
        const double samplesNow = static_cast<double>(o.samples) / now.seconds;
        const double samplesToday = static_cast<double>(o.samples) / today.seconds;
        const double bytesPerSecond = static_cast<double>(in.bytes) / now.seconds;
        const double speedUp = today.seconds / now.seconds;
        const bool same = r.today.sameDigests && r.now.sameDigests && today.digest == now.digest;
        std::string target;
        bool met = false;
        switch (c.targetKind) {
        case TargetKind::SamplesPerSecond:
            target = fmt("≥ %.0f M samples/s", c.target / 1e6);
            met = samplesNow >= c.target;
            break;
        case TargetKind::InputBytesPerSecond:
            target = fmt("≥ %.0f MB/s", c.target / 1e6);
            met = bytesPerSecond >= c.target;
            break;
        case TargetKind::SpeedUp:
            target = fmt("≥ %.1f× today", c.target);
            met = speedUp >= c.target;
            break;
        }
        met = met && same;
        missed += met ? 0 : 1;
        std::printf("| %s | %llu | %.3f | %.3f | %.1f | %.1f | %.0f | %.2f× | %.1f / %.1f | %s | %s | %s |\n",
                    name.c_str(), static_cast<unsigned long long>(in.bytes), today.seconds, now.seconds,
                    samplesToday / 1e6, samplesNow / 1e6, bytesPerSecond / 1e6, speedUp, today.peakRssMiB,
                    now.peakRssMiB, same ? "yes" : "**no**", target.c_str(), met ? "yes" : "**no**");
        std::fflush(stdout);
    }
    // Free the disk before a memory check writes its own files.
    for (auto& [layout, files] : inputs) {
        for (const std::string& path : files.paths) fs::remove(path);
    }
    return missed;
}

// Peak memory of one case at a small and a large length; allowance is the
// growth it may show.
int memoryCheckOf(const char* name, double allowanceMiB, const std::string& folder) {
    const BenchCase& c = *findCase(name);
    std::printf("\nPeak resident memory, %s:\n\n| Samples | Peak RSS (MiB) |\n|---:|---:|\n", name);
    double peaks[2] = {0.0, 0.0};
    const std::int64_t sizes[2] = {kMemorySmall, kMemoryLarge};
    for (int k = 0; k < 2; ++k) {
        std::fprintf(stderr, "memory check: %s, %lld samples...\n", name, static_cast<long long>(sizes[k]));
        const InputFiles in = prepareInputs(c.layout, sizes[k], folder);
        const SideBySide r = measure(c, sizes[k], in, folder, 1, false);
        for (const std::string& path : in.paths) fs::remove(path);
        if (!r.error.empty()) {
            std::printf("| %lld | failed: %s |\n", static_cast<long long>(sizes[k]), r.error.c_str());
            return 1;
        }
        peaks[k] = r.now.best.peakRssMiB;
        std::printf("| %lld | %.2f |\n", static_cast<long long>(sizes[k]), peaks[k]);
    }
    const double growth = peaks[1] - peaks[0];
    const bool met = growth < allowanceMiB;
    std::printf("\nGrowth from %lld to %lld samples: %.2f MiB (target < %.0f MiB): %s\n",
                static_cast<long long>(kMemorySmall), static_cast<long long>(kMemoryLarge), growth, allowanceMiB,
                met ? "met" : "**missed**");
    return met ? 0 : 1;
}

// Baseband and IF conversions hold nothing but their work areas: the peak
// must not grow with the length.
int runMemoryCheck(const std::string& folder) {
    int missed = memoryCheckOf("float-pairs", kMemoryAllowanceMiB, folder);
    missed += memoryCheckOf("float-pairs-real-if", kMemoryAllowanceMiB, folder);
    return missed;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc >= 2 && std::string(argv[1]) == "--child") {
        return childMain(std::vector<std::string>(argv + 2, argv + argc));
    }
    // Output piped into `head` must not kill the run before it removes its files.
    std::signal(SIGPIPE, SIG_IGN);
    const Options o = parse(argc, argv);
    const Scratch scratch(o.folder);
    int missed = 0;
    if (o.table) missed += runTable(o, scratch.path());
    if (o.memoryCheck) missed += runMemoryCheck(scratch.path());
    return missed == 0 ? 0 : 1;
}
