// Times the input scanner alone on files of every layout, page cache warm,
// and reports the peak resident memory of each scan (each case runs in a
// child process of its own, so the figures do not mix).
//
//   input_scan_bench [--dir DIR] [--binary-records N] [--text-records N]
//                    [--limit-records N] [--runs K] [--threads N] [--keep]
//
// Each text layout is scanned twice: on one thread, and on the threads the
// scanner takes by default (HALVIK_THREADS, else one per core; --threads N).
//
// The "iq-text-limit" case writes one line more than the record limit, so
// one run checks the real limit: it must count exactly 67,108,864 records.
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

// The child: one untimed scan to warm the page cache, then the best of `runs`,
// by the wall clock and by the process's CPU time (the machine may be shared).
[[noreturn]] void timeCase(const Case& c, const std::string& path, uint64_t bytes, int runs, unsigned threads) {
    orvenda::input::ScanOptions options;
    options.threads = threads;
    int64_t reports = 0;
    options.onProgress = [&reports](int64_t) { ++reports; };
    orvenda::input::ScanOutcome outcome = orvenda::input::scanFile(path, c.layout, options);
    double best = 1e300;
    double bestCpu = 1e300;
    for (int run = 0; run < runs && outcome.ok(); ++run) {
        timespec cpuStart{}, cpuEnd{};
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpuStart);
        const auto start = std::chrono::steady_clock::now();
        outcome = orvenda::input::scanFile(path, c.layout, options);
        const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpuEnd);
        best = std::min(best, took.count());
        bestCpu = std::min(bestCpu, static_cast<double>(cpuEnd.tv_sec - cpuStart.tv_sec) +
                                        static_cast<double>(cpuEnd.tv_nsec - cpuStart.tv_nsec) * 1e-9);
    }
    if (!outcome.ok()) {
        std::printf("| %-16s | failed: fault %d at %lld |\n", c.name, static_cast<int>(outcome.error->fault),
                    static_cast<long long>(outcome.error->position));
        std::fflush(stdout);
        std::_Exit(1);
    }
    std::printf("| %-16s | %7u | %12lld | %10.1f | %12lld | %-5s | %8.3f | %8.0f | %8.0f |", c.name,
                orvenda::input::textScanThreads(threads), static_cast<long long>(c.records),
                static_cast<double>(bytes) / 1048576.0, static_cast<long long>(outcome.result.count),
                outcome.result.limitExceeded ? "yes" : "no", best, static_cast<double>(bytes) / best / 1e6,
                static_cast<double>(bytes) / bestCpu / 1e6);
    std::fflush(stdout);
    std::_Exit(0);
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
                     "                        [--limit-records N] [--runs K] [--threads N] [--keep]\n");
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
        const std::string path = options.dir + "/" + c.name + ".dat";
        uint64_t bytes = 0;
        std::error_code ignored;
        if (options.keep && std::filesystem::exists(path))
            bytes = std::filesystem::file_size(path);
        else
            bytes = orvenda::bench::writeBenchFile(path, c.layout, c.records);
        // Binary layouts are read on one thread whatever the count.
        std::vector<unsigned> threadCounts = {1};
        if (c.text && orvenda::input::textScanThreads(options.threads) > 1) threadCounts.push_back(options.threads);
        for (unsigned threads : threadCounts) {
            const pid_t child = fork();
            if (child == 0) timeCase(c, path, bytes, options.runs, threads);
            int status = 0;
            rusage usage{};
            wait4(child, &status, 0, &usage);
            std::printf(" %12.1f |\n", static_cast<double>(usage.ru_maxrss) / 1024.0);
            std::fflush(stdout);
            failures += !(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        }
        if (!options.keep) std::filesystem::remove(path, ignored);
    }
    return failures == 0 ? 0 : 1;
}
