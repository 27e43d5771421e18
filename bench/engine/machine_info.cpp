#include "bench/engine/machine_info.h"

#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <string>

namespace orvenda::bench {

namespace {

std::string firstValue(const char* path, const std::string& key) {
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind(key, 0) != 0) continue;
        const std::size_t colon = line.find(':');
        if (colon == std::string::npos) continue;
        std::string value = line.substr(colon + 1);
        value.erase(0, value.find_first_not_of(" \t"));
        return value;
    }
    return "unknown";
}

}  // namespace

std::string machineDescription() {
    const long cores = ::sysconf(_SC_NPROCESSORS_ONLN);
    const std::string cpu = firstValue("/proc/cpuinfo", "model name");
    const std::string memory = firstValue("/proc/meminfo", "MemTotal");  // "24683832 kB"
    char ram[32] = "unknown";
    if (memory != "unknown") std::snprintf(ram, sizeof ram, "%.1f GiB", std::stod(memory) / (1024.0 * 1024.0));
    return std::to_string(cores) + " cores (nproc), " + cpu + ", " + ram + " RAM";
}

std::string loadAverage() {
    std::ifstream in("/proc/loadavg");
    std::string first;
    in >> first;
    return first.empty() ? std::string("unknown") : first;
}

}  // namespace orvenda::bench
