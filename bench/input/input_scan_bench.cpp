// Times the input scanner alone on files of every layout, page cache warm,
// and reports the peak resident memory of each scan (measured in a child
// process of its own, so the figures do not mix).
//
//   input_scan_bench [--dir DIR] [--binary-records N] [--text-records N]
//                    [--limit-records N] [--runs K] [--threads N] [--cases A,B] [--keep]
//
// Each text layout is scanned on one thread and on the threads the scanner
// takes by default (HALVIK_THREADS, else one per core; --threads N), the two
// timed alternately run by run in one child, so both see the same moments
// of a shared machine; the peak memory of each comes from a child of its own.
//
// The "iq-text-limit" case writes one line more than the record limit, so
// one run checks the real limit: it must count exactly 67,108,864 records.
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <new>
#include <string>
#include <thread>
#include <vector>

#include "bench/input/bench_files.h"
#include "core/input/scanner.h"

namespace {

using orvenda::input::InputLayout;

struct Options {
    std::string dir = (std::filesystem::temp_directory_path() / "orvenda-input-bench").string();
    int64_t binaryRecords = orvenda::input::kMaxRecords;
    int64_t textRecords = 16'777'216;
    int64_t limitRecords = orvenda::input::kMaxRecords + 1;
    int runs = 3;
    unsigned threads = 0;
    std::string only;  // --cases: comma-separated case names; empty: all
    bool keep = false;
};

struct Case {
    const char* name;
    InputLayout layout;
    int64_t records;
    bool text;
};

std::string firstLineWith(const char* file, const char* key) {
    std::ifstream in(file);
    for (std::string line; std::getline(in, line);)
        if (line.rfind(key, 0) == 0) return line.substr(line.find(':') + 1);
    return "?";
}

void printMachine() {
    std::string model = firstLineWith("/proc/cpuinfo", "model name");
    std::string memory = firstLineWith("/proc/meminfo", "MemTotal");
    std::printf("machine: %u cores (nproc), CPU%s, RAM%s\n", std::thread::hardware_concurrency(), model.c_str(),
                memory.c_str());
}

struct Timing {
    double wall = 1e300;  // best seconds by the wall clock
    double cpu = 1e300;   // best seconds of the process's CPU time
    orvenda::input::ScanResult result;
    bool ok = true;
    int fault = 0;
    int64_t position = 0;
};

double cpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

orvenda::input::ScanOutcome scanOnce(const Case& c, const std::string& path, unsigned threads) {
    orvenda::input::ScanOptions options;
    options.threads = threads;
    int64_t reports = 0;
    options.onProgress = [&reports](int64_t) { ++reports; };
    return orvenda::input::scanFile(path, c.layout, options);
}

// The timing child: one untimed scan per thread count to warm the page cache,
// then `runs` rounds that time every thread count in turn, so that all counts
// see the same moments of a shared machine; the best of each goes to `out`.
[[noreturn]] void timeCase(const Case& c, const std::string& path, int runs, const std::vector<unsigned>& counts,
                           Timing* out) {
    for (std::size_t k = 0; k < counts.size(); ++k) scanOnce(c, path, counts[k]);
    for (int run = 0; run < runs; ++run) {
        for (std::size_t k = 0; k < counts.size(); ++k) {
            const double cpuStart = cpuSeconds();
            const auto start = std::chrono::steady_clock::now();
            const orvenda::input::ScanOutcome outcome = scanOnce(c, path, counts[k]);
            const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
            Timing& t = out[k];
            t.cpu = std::min(t.cpu, cpuSeconds() - cpuStart);
            t.wall = std::min(t.wall, took.count());
            t.ok = outcome.ok();
            if (!outcome.ok()) {
                t.fault = static_cast<int>(outcome.error->fault);
                t.position = outcome.error->position;
                std::_Exit(1);
            }
            t.result = outcome.result;
        }
    }
    std::_Exit(0);
}

// The peak resident memory of one scan, in a child of its own.
double peakMiB(const Case& c, const std::string& path, unsigned threads) {
    const pid_t child = fork();
    if (child == 0) std::_Exit(scanOnce(c, path, threads).ok() ? 0 : 1);
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

bool parse(int argc, char** argv, Options& options) {
    for (int k = 1; k < argc; ++k) {
        const std::string arg = argv[k];
        const bool hasValue = k + 1 < argc;
        if (arg == "--dir" && hasValue)
            options.dir = argv[++k];
        else if (arg == "--binary-records" && hasValue)
            options.binaryRecords = std::atoll(argv[++k]);
        else if (arg == "--text-records" && hasValue)
            options.textRecords = std::atoll(argv[++k]);
        else if (arg == "--limit-records" && hasValue)
            options.limitRecords = std::atoll(argv[++k]);
        else if (arg == "--runs" && hasValue)
            options.runs = std::atoi(argv[++k]);
        else if (arg == "--cases" && hasValue)
            options.only = "," + std::string(argv[++k]) + ",";
        else if (arg == "--threads" && hasValue)
            options.threads = static_cast<unsigned>(std::atoi(argv[++k]));
        else if (arg == "--keep")
            options.keep = true;
        else
            return false;
    }
    return options.runs > 0;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!parse(argc, argv, options)) {
        std::fprintf(stderr,
                     "usage: input_scan_bench [--dir DIR] [--binary-records N] [--text-records N]\n"
                     "                        [--limit-records N] [--runs K] [--threads N] [--cases A,B] [--keep]\n");
        return 2;
    }
    const std::vector<Case> cases = {
        {"float-pairs", InputLayout::BinaryFloatPairs, options.binaryRecords, false},
        {"short-pairs", InputLayout::BinaryShortPairs, options.binaryRecords, false},
        {"iq-text-limit", InputLayout::FreeFormatIQText, options.limitRecords, true},
        {"csv", InputLayout::CsvIQText, options.textRecords, true},
        {"single-text", InputLayout::SingleChannelText, options.textRecords, true},
    };
    std::filesystem::create_directories(options.dir);
    printMachine();
    std::printf("best of %d warm runs\n\n", options.runs);
    std::printf(
        "| case             | threads |      records |    MiB     | counted      | over  |  seconds |"
        "     MB/s | MB/s CPU | peak RSS MiB |\n");
    std::printf(
        "|------------------|---------|--------------|------------|--------------|-------|----------|"
        "----------|----------|--------------|\n");
    std::fflush(stdout);
    int failures = 0;
    for (const Case& c : cases) {
        if (!options.only.empty() && options.only.find("," + std::string(c.name) + ",") == std::string::npos) continue;
        const std::string path = options.dir + "/" + c.name + ".dat";
        uint64_t bytes = 0;
        std::error_code ignored;
        if (options.keep && std::filesystem::exists(path))
            bytes = std::filesystem::file_size(path);
        else
            bytes = orvenda::bench::writeBenchFile(path, c.layout, c.records);
        // Binary layouts are read on one thread whatever the count.
        std::vector<unsigned> counts = {1};
        if (c.text && orvenda::input::textScanThreads(options.threads) > 1) counts.push_back(options.threads);
        auto* timings = static_cast<Timing*>(
            mmap(nullptr, sizeof(Timing) * counts.size(), PROT_READ | PROT_WRITE, MAP_SHARED | MAP_ANONYMOUS, -1, 0));
        if (timings == MAP_FAILED) return 1;
        for (std::size_t k = 0; k < counts.size(); ++k) new (&timings[k]) Timing;
        const pid_t child = fork();
        if (child == 0) timeCase(c, path, options.runs, counts, timings);
        int status = 0;
        waitpid(child, &status, 0);
        failures += !(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        for (std::size_t k = 0; k < counts.size(); ++k) {
            const Timing& t = timings[k];
            if (!t.ok) {
                std::printf("| %-16s | failed: fault %d at %lld |\n", c.name, t.fault,
                            static_cast<long long>(t.position));
                continue;
            }
            std::printf("| %-16s | %7u | %12lld | %10.1f | %12lld | %-5s | %8.3f | %8.0f | %8.0f | %12.1f |\n", c.name,
                        orvenda::input::textScanThreads(counts[k]), static_cast<long long>(c.records),
                        static_cast<double>(bytes) / 1048576.0, static_cast<long long>(t.result.count),
                        t.result.limitExceeded ? "yes" : "no", t.wall, static_cast<double>(bytes) / t.wall / 1e6,
                        static_cast<double>(bytes) / t.cpu / 1e6, peakMiB(c, path, counts[k]));
            std::fflush(stdout);
        }
        munmap(timings, sizeof(Timing) * counts.size());
        if (!options.keep) std::filesystem::remove(path, ignored);
    }
    return failures == 0 ? 0 : 1;
}
