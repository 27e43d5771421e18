#include "core/analysis/level_report.h"

#include <cmath>
#include <cstdio>

namespace orvenda::analysis {
namespace {

// "%.2f" with a point whatever the locale: the C library's snprintf follows
// LC_NUMERIC, so the digits are built from an integer.
std::string twoDecimals(double value) {
    if (std::isnan(value)) return "-";
    if (std::isinf(value)) return value < 0 ? "-inf" : "inf";
    const double rounded = std::round(std::fabs(value) * 100.0);
    const bool negative = value < 0.0;
    const auto hundredths = static_cast<unsigned long long>(rounded);
    char text[48];
    std::snprintf(text, sizeof text, "%s%llu.%02llu", negative ? "-" : "", hundredths / 100, hundredths % 100);
    return text;
}

}  // namespace

std::vector<std::string> levelReportLines(const LevelReport& report) {
    std::vector<std::string> lines;
    lines.push_back("Peak  " + twoDecimals(report.peakDbfs) + " dBFS");
    lines.push_back("RMS  " + twoDecimals(report.rmsDbfs) + " dBFS");
    lines.push_back("PAPR  " + twoDecimals(report.paprDb) + " dB");
    lines.push_back("Full scale  " + twoDecimals(report.fullScaleShare * 100.0) + " % (" +
                    std::to_string(report.fullScaleSamples) + " samples)");
    if (report.sqnrDb) lines.push_back("SQNR  " + twoDecimals(*report.sqnrDb) + " dB");
    return lines;
}

}  // namespace orvenda::analysis
