#include "bench/engine/child_run.h"

#include <dlfcn.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <vector>

#include "common/halvik_api.h"
#include "engine/sibling_library.h"

namespace orvenda::bench {

namespace {

ConversionSettings settingsFor(const BenchCase& benchCase) {
    ConversionSettings s{};
    s.Fs = kSamplingFrequency;
    s.IFFreq = kIntermediateFrequency;
    s.AWGGain = 1.0;
    s.IQFilter = 1;
    s.MarkerFlags = 0x2 | 0x4 | 0x40;  // both markers in the data, as users set them
    s.IFConvert = benchCase.ifMode == IfMode::Baseband ? 0 : 1;
    s.IFMode = benchCase.ifMode == IfMode::ComplexShift ? 1 : 0;
    s.StartTrigger = 0;
    s.OutputSequence = 0;
    s.IQOutput = 0;
    s.IQOffset = -1;
    return s;
}

// FNV-1a over the file after its first line (the DATE line differs per run).
std::string digestWithoutDateLine(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) return "unreadable";
    std::uint64_t hash = 14695981039346656037ull;
    bool pastFirstLine = false;
    std::vector<unsigned char> buffer(1 << 20);
    for (std::size_t n; (n = std::fread(buffer.data(), 1, buffer.size(), file)) > 0;) {
        for (std::size_t k = 0; k < n; ++k) {
            if (!pastFirstLine) {
                pastFirstLine = buffer[k] == '\n';
                continue;
            }
            hash = (hash ^ buffer[k]) * 1099511628211ull;
        }
    }
    std::fclose(file);
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
    return text;
}

std::string readAll(int fd) {
    std::string text;
    char buffer[256];
    ssize_t n;
    while ((n = ::read(fd, buffer, sizeof buffer)) > 0) text.append(buffer, static_cast<std::size_t>(n));
    return text;
}

// The engine's data type of a layout: 16-bit pairs, float pairs or text.
int32_t dataTypeOf(Layout layout) {
    switch (layout) {
    case Layout::Int16Pairs: return 2;
    case Layout::FloatPairs:
    case Layout::FloatTone: return 3;
    default: return 1;
    }
}

}  // namespace

RunResult runInChild(const std::string& program, const ChildRequest& request) {
    std::vector<std::string> arguments = {program,
                                          "--child",
                                          request.benchCase->name,
                                          std::to_string(request.samples),
                                          std::to_string(request.peak),
                                          request.output};
    arguments.insert(arguments.end(), request.inputs.begin(), request.inputs.end());
    std::vector<char*> argv;
    for (std::string& a : arguments) argv.push_back(a.data());
    argv.push_back(nullptr);

    int pipeFds[2];
    if (::pipe(pipeFds) != 0) return {false, 0, 0, "pipe failed", {}};
    const pid_t pid = ::fork();
    if (pid < 0) return {false, 0, 0, "fork failed", {}};
    if (pid == 0) {
        if (request.reference) {
            ::setenv("HALVIK_THREADS", "1", 1);
            ::setenv("HALVIK_BENCH_REFERENCE", "1", 1);
        } else {
            ::unsetenv("HALVIK_BENCH_REFERENCE");
        }
        ::dup2(pipeFds[1], STDOUT_FILENO);
        ::close(pipeFds[0]);
        ::close(pipeFds[1]);
        ::execv(program.c_str(), argv.data());
        ::_exit(127);
    }
    ::close(pipeFds[1]);
    const std::string answer = readAll(pipeFds[0]);
    ::close(pipeFds[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);

    RunResult result;
    std::istringstream in(answer);
    std::string word;
    long peakKiB = 0;
    in >> word >> result.seconds >> peakKiB >> result.digest;
    result.ok = word == "ok" && WIFEXITED(status) && WEXITSTATUS(status) == 0;
    result.peakRssMiB = static_cast<double>(peakKiB) / 1024.0;
    if (!result.ok) result.error = answer.empty() ? "the child failed" : answer;
    return result;
}

int childMain(const std::vector<std::string>& arguments) {
    if (arguments.size() < 5) {
        std::printf("error: --child <case> <samples> <peak> <output> <input>...\n");
        return 2;
    }
    const BenchCase* benchCase = findCase(arguments[0]);
    if (!benchCase) {
        std::printf("error: unknown case %s\n", arguments[0].c_str());
        return 2;
    }
    const auto samples = static_cast<std::int32_t>(std::stoll(arguments[1]));
    const double peak = std::stod(arguments[2]);
    const std::string& output = arguments[3];
    const std::string iPath = arguments[4];
    const std::string qPath = arguments.size() > 5 ? arguments[5] : std::string();

    // From this program's folder, as the program Orvenda loads it.
    std::string whyNot;
    void* library =
        halvik::openLibraryIn(halvik::programFolder(), HALVIK_LIBRARY_FILE_NAME, RTLD_NOW | RTLD_LOCAL, &whyNot);
    if (!library) {
        std::printf("error: %s\n", whyNot.c_str());
        return 1;
    }
    auto halvik = reinterpret_cast<HalvikFunction>(::dlsym(library, "Halvik"));
    if (!halvik) {
        std::printf("error: no Halvik in %s\n", HALVIK_LIBRARY_FILE_NAME);
        return 1;
    }

    const ConversionSettings settings = settingsFor(*benchCase);
    std::vector<MarkerPoint> marker1(1001, MarkerPoint{0, 0});
    std::vector<MarkerPoint> marker2(1001, MarkerPoint{0, 0});
    marker1[0] = {0, 1};
    marker1[1] = {samples / 4, 0};
    marker1[2] = {samples / 2, 1};
    marker2[0] = {samples / 3, 1};
    const bool twoFiles = benchCase->layout == Layout::SingleColumnText;
    const int32_t dataType = dataTypeOf(benchCase->layout);

    const auto start = std::chrono::steady_clock::now();
    const int32_t rc = halvik(iPath.c_str(), qPath.c_str(), dataType, twoFiles ? 3 : 4, marker1.data(), marker2.data(),
                              samples, peak, &settings, output.c_str());
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    struct stat written {};
    const bool complete =
        rc == 0 && ::stat(output.c_str(), &written) == 0 && written.st_size > static_cast<off_t>(8) * samples;
    // Peak memory before the digest's own buffer counts.
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    const std::string digest = complete ? digestWithoutDateLine(output) : std::string();
    ::unlink(output.c_str());
    if (!complete) {
        std::printf("error: Halvik returned %d\n", rc);
        return 1;
    }
    std::printf("ok %.6f %ld %s\n", seconds, usage.ru_maxrss, digest.c_str());
    return 0;
}

}  // namespace orvenda::bench
