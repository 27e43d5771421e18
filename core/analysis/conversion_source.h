// What a conversion would write, as a sample source: the input files run
// through the engine's own reading, IF shift and code steps (the same code
// path as the transform), into memory instead of a file. The settings come
// from planTransform, so the program (panel snapshot) and the command line
// (options) ask for the same thing.
#ifndef ORVENDA_CORE_ANALYSIS_CONVERSION_SOURCE_H
#define ORVENDA_CORE_ANALYSIS_CONVERSION_SOURCE_H

#include <memory>
#include <string>
#include <vector>

#include "common/halvik_api.h"
#include "core/analysis/analysis_control.h"
#include "core/analysis/sample_source.h"
#include "core/transform/settings_record.h"

namespace orvenda::analysis {

struct ConversionInput {
    HalvikArguments arguments;  // TransformPlan::arguments of a plan that is ok()
    // Marker change points as the transform passes them (ComonLib's marker
    // arrays); empty for none. Shorter lists are padded to the 99 entries the
    // engine reads.
    std::vector<MarkerPoint> marker1;
    std::vector<MarkerPoint> marker2;
};

class ConversionSampleSource;

struct ConversionOpenResult {
    Status status;
    std::unique_ptr<ConversionSampleSource> source;  // set when status.done()
};

// Codes as the write pass makes them (word A: I, or Q when IQInv is set;
// word B the other), marker bits as the MarkerFlags let them through, exact
// values as the scaled values before truncation.
class ConversionSampleSource final : public SampleSource {
public:
    // Checks that the inputs open. For an IF conversion this first runs the
    // engine's scan pass over the whole input for the peak (a full read:
    // progress and cancel apply); a baseband one starts at once.
    static ConversionOpenResult open(const ConversionInput& input, const AnalysisControl& control = {});
    ~ConversionSampleSource() override;

    std::uint64_t size() const override;
    double samplingFrequency() const override;  // the settings' Fs in Hz (0 when not positive)
    bool isComplex() const override;            // false for a real IF conversion (IFMode 0) without IQInv
    bool hasMarkers() const override;           // a marker is let through by MarkerFlags
    bool hasExactValues() const override { return true; }
    std::unique_ptr<SampleCursor> openCursor() const override;

    double startingPeak() const;  // the divisor before the first block's growth

private:
    struct State;
    explicit ConversionSampleSource(std::unique_ptr<State> state);
    std::unique_ptr<State> state_;
};

}  // namespace orvenda::analysis

#endif
