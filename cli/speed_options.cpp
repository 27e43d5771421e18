#include "cli/speed_options.h"

#include <charconv>
#include <string>
#include <thread>

namespace orvenda::cli {
namespace {

unsigned countOf(const std::string& text, const char* option) {
    unsigned value = 0;
    const char* end = text.data() + text.size();
    auto [stop, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc() || stop != end || value < 1 || value > kMaxSpeedCount)
        throw UsageError(std::string(option) + ": \"" + text + "\" is not a whole number from 1 to " +
                         std::to_string(kMaxSpeedCount));
    return value;
}

}  // namespace

void applySpeedOptions(const ConvertArguments& arguments, ConvertPlan& plan) {
    if (arguments.threads) plan.threads = countOf(*arguments.threads, "--threads");
    if (arguments.jobs) {
        plan.parallelJobs = countOf(*arguments.jobs, "--jobs");
    } else {
        unsigned cores = std::thread::hardware_concurrency();
        plan.parallelJobs = cores == 0 ? 1 : cores;
    }
}

}  // namespace orvenda::cli
