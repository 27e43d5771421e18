// The streaming pass behind analyse, computeSpectrum: the range split at a
// segment boundary between two threads, each with its own cursor, the parts
// merged in thread order.
#ifndef ORVENDA_CORE_ANALYSIS_ANALYSIS_PASS_H
#define ORVENDA_CORE_ANALYSIS_ANALYSIS_PASS_H

#include "core/analysis/signal_analysis.h"

namespace orvenda::analysis {

struct PassContents {
    bool statistics = true;  // levels, CCDF, constellation
    bool spectrum = true;
};

AnalysisResult runAnalysisPass(const SampleSource& source, std::uint64_t begin, std::uint64_t end,
                               const AnalysisSettings& settings, const PassContents& contents,
                               const AnalysisControl& control);

}  // namespace orvenda::analysis

#endif
