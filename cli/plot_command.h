// "orvenda-cli plot": draws the waveform view's pictures (time, spectrum,
// constellation, CCDF) of a waveform or input file into a PNG or SVG file,
// without a display.
#ifndef ORVENDA_CLI_PLOT_COMMAND_H
#define ORVENDA_CLI_PLOT_COMMAND_H

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

namespace orvenda::cli {

struct PlotArguments {
    std::string file;
    std::string output;
    std::string view = "time";
    std::optional<std::string> fs;  // MHz
    std::optional<std::string> layout;
    std::string size = "1000x600";
    std::string fftSize = "4096";
};

// "WxH" with both 16 .. 10000; nothing otherwise.
std::optional<std::pair<int, int>> parsePictureSize(const std::string& text);

// `args` are the words after "plot". Returns the exit code.
int runPlot(const std::vector<std::string>& args, std::ostream& out, std::ostream& err);

}  // namespace orvenda::cli

#endif
