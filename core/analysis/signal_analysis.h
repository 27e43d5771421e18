// The whole analysis of a source in one streaming pass over two threads:
// level report, spectrum, constellation, CCDF and the overview envelope.
// Memory stays constant whatever the source's length.
#ifndef ORVENDA_CORE_ANALYSIS_SIGNAL_ANALYSIS_H
#define ORVENDA_CORE_ANALYSIS_SIGNAL_ANALYSIS_H

#include <cstddef>
#include <cstdint>

#include "core/analysis/analysis_control.h"
#include "core/analysis/ccdf.h"
#include "core/analysis/constellation.h"
#include "core/analysis/envelope.h"
#include "core/analysis/level_report.h"
#include "core/analysis/sample_source.h"
#include "core/analysis/spectrum.h"

namespace orvenda::analysis {

struct AnalysisSettings {
    SpectrumSettings spectrum;
    std::size_t constellationBins = kDefaultConstellationBins;  // per axis, 16 .. 1024
    std::size_t overviewColumns = 0;  // > 0: also the envelope of the whole range in this many columns
    unsigned threads = 2;             // 1 or 2
};

struct AnalysisResult {
    Status status;
    std::uint64_t begin = 0;  // the range analysed
    std::uint64_t end = 0;
    LevelReport levels;
    Spectrum spectrum;
    Constellation constellation;
    Ccdf ccdf;
    Envelope overview;  // columns empty unless overviewColumns > 0
};

// The whole source. The partial results of the threads are merged in a fixed
// order, so the same input always gives the same numbers.
AnalysisResult analyse(const SampleSource& source, const AnalysisSettings& settings,
                       const AnalysisControl& control = {});

// Only [begin, end) (end clamped to size()).
AnalysisResult analyseRange(const SampleSource& source, std::uint64_t begin, std::uint64_t end,
                            const AnalysisSettings& settings, const AnalysisControl& control = {});

// Levels, CCDF and constellation of the whole source, without the spectrum
// (what the command line's level report needs); same threads and merge.
AnalysisResult analyseLevels(const SampleSource& source, const AnalysisControl& control = {});

}  // namespace orvenda::analysis

#endif
