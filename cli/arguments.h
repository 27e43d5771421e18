// The command line as typed, before any check: every option of a command as
// its text, empty when it was not given. Checking is the job of
// convert_options.h; parsing fills these and nothing else.
#ifndef ORVENDA_CLI_ARGUMENTS_H
#define ORVENDA_CLI_ARGUMENTS_H

#include <optional>
#include <string>
#include <vector>

namespace orvenda::cli {

struct InfoArguments {
    std::vector<std::string> files;
    std::optional<std::string> layout;  // of the input files among them
};

struct ConvertArguments {
    std::vector<std::string> inputs;
    std::optional<std::string> iFile;
    std::optional<std::string> qFile;
    std::optional<std::string> layout;
    std::optional<std::string> output;
    std::optional<std::string> outputDir;
    std::optional<std::string> dataSize;

    std::optional<std::string> iqFilter;
    std::optional<std::string> dataFullScale;
    bool iqInverse = false;
    std::optional<std::string> iqOffset;
    std::optional<std::string> iqOutput;
    std::optional<std::string> iqOutputLevel;
    std::optional<std::string> sequence;
    std::optional<std::string> loops;
    std::optional<std::string> gate;
    std::optional<std::string> startTrigger;
    std::optional<std::string> triggerPolarity;
    std::optional<std::string> fs;
    std::optional<std::string> markerMode;
    std::optional<std::string> marker1;
    std::optional<std::string> marker2;
    std::optional<std::string> ifMode;
    std::optional<std::string> carrier;

    bool quiet = false;
};

}  // namespace orvenda::cli

#endif
