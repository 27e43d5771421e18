#include "core/transform/settings_record.h"

#include <cmath>
#include <limits>

#include "core/settings/text_conversions.h"

namespace orvenda {
namespace {

using settings::leadingNumber;
using settings::PanelSnapshot;
using settings::roundedInteger;
using settings::strictNumber;

constexpr double kHzPerMHz = 1000000.0;
// The WAVEDATA count is 8 bytes a sample and must fit an int32.
constexpr int32_t kMostWaveformSamples = 2147483647 / 8;

// The rounded integer when it fits an int32 (an exact half goes to the even
// neighbour, as roundedInteger does); empty beyond the range.
std::optional<int32_t> fittingRoundedInteger(double value) {
    const double rounded = std::nearbyint(value);  // default mode: halves to even
    if (!(rounded >= std::numeric_limits<int32_t>::min() && rounded <= std::numeric_limits<int32_t>::max()))
        return std::nullopt;
    return roundedInteger(value);
}

std::string quoted(const std::string& text) { return "\"" + text + "\""; }

// A frequency box in MHz as Hz; a problem when it is no number or too large.
std::optional<double> hertzFrom(const std::string& text, const char* field, const char* caption,
                                std::vector<FieldProblem>& problems) {
    const std::optional<double> mhz = strictNumber(text);
    if (!mhz) {
        problems.push_back({field, std::string(caption) + " (MHz) is not a number: " + quoted(text) + "."});
        return std::nullopt;
    }
    const double hz = *mhz * kHzPerMHz;
    if (!std::isfinite(hz)) {
        problems.push_back({field, std::string(caption) + " (MHz) is too large: " + quoted(text) + "."});
        return std::nullopt;
    }
    return hz;
}

// Integer boxes take their leading number, however odd the text; only a value
// beyond the int32 range cannot be passed on.
void checkIntegerBox(const std::string& text, const char* field, const char* caption,
                     std::vector<FieldProblem>& problems) {
    if (!fittingRoundedInteger(leadingNumber(text)))
        problems.push_back(
            {field, std::string(caption) + " is beyond the range of a 32-bit integer: " + quoted(text) + "."});
}

// The numbers the command needs, all checked before anything changes.
std::vector<FieldProblem> unusableFields(const TransformRequest& request) {
    std::vector<FieldProblem> problems;
    const PanelSnapshot& panel = request.panel;
    const std::optional<double> fs = hertzFrom(panel.fsText, "TxtFs", "Sampling Freq", problems);
    if (request.kind == TransformKind::IF) {
        // The IF conversion divides by the sampling frequency.
        if (fs && !(*fs > 0.0))
            problems.push_back(
                {"TxtFs", "Sampling Freq (MHz) must be above 0 for the IF Transform: " + quoted(panel.fsText) + "."});
        hertzFrom(panel.ifFreqText, "TxtIFFreq", "Carrier Freq", problems);
    }
    if (request.specifyDataSize) {
        const std::optional<double> size = strictNumber(request.dataSizeText);
        if (!size)
            problems.push_back({"TxtDataSizeI", "Specify Data Size: the data size is not a number: " +
                                                    quoted(request.dataSizeText) + "."});
        else if (*size < 1.0)
            problems.push_back(
                {"TxtDataSizeI", "Specify Data Size: the data size is below 1: " + quoted(request.dataSizeText) + "."});
        else if (!fittingRoundedInteger(*size))
            problems.push_back({"TxtDataSizeI",
                                "Specify Data Size: the data size is beyond the range of a "
                                "32-bit integer: " +
                                    quoted(request.dataSizeText) + "."});
        else if (roundedInteger(*size) > kMostWaveformSamples)
            problems.push_back({"TxtDataSizeI", "Specify Data Size: a waveform file holds at most " +
                                                    std::to_string(kMostWaveformSamples) +
                                                    " samples: " + quoted(request.dataSizeText) + "."});
    }
    checkIntegerBox(panel.loopNumText, "TxtLoopNum", "Loop Num", problems);
    checkIntegerBox(panel.iOutputText, "TxtIOutput", "I/Q Output I (mVp-p)", problems);
    checkIntegerBox(panel.qOutputText, "TxtQOutput", "I/Q Output Q (mVp-p)", problems);
    checkIntegerBox(panel.iOffsetText, "TxtIOffset", "I/Q Offset I (mVp-p)", problems);
    checkIntegerBox(panel.qOffsetText, "TxtQOffset", "I/Q Offset Q (mVp-p)", problems);
    return problems;
}

int32_t markerFlagsOf(const PanelSnapshot& panel, TransformKind kind) {
    int32_t flags = 0;
    if (panel.mark1On) flags |= HALVIK_MARKER_1_LINE;
    if (panel.mark2On) flags |= HALVIK_MARKER_2_LINE;
    if (panel.markerModeOn) {
        // "Auto Edit": BaseBand also asks for the SEQ marker-mode line, IF does not.
        if (panel.markOption == 0)
            flags |= kind == TransformKind::BaseBand ? HALVIK_MARKER_MODE_SEQ | HALVIK_MARKER_BOTH_LINES
                                                     : HALVIK_MARKER_BOTH_LINES;
        else if (panel.markOption == 1)
            flags |= HALVIK_MARKER_MODE_WFM;
    } else {
        flags |= HALVIK_MARKER_GROUP_OFF;  // a bit the engine ignores, kept as the panel always sent it
    }
    return flags;
}

// Every record field from the panel, unchecked groups giving -1 in their
// governing field while the values they govern are filled all the same.
ConversionSettings recordFrom(const TransformRequest& request, double awgGain) {
    const PanelSnapshot& panel = request.panel;
    const bool isIF = request.kind == TransformKind::IF;
    ConversionSettings record{};
    record.Fs = *strictNumber(panel.fsText) * kHzPerMHz;
    record.IFFreq = isIF ? *strictNumber(panel.ifFreqText) * kHzPerMHz : 0.0;
    record.AWGGain = awgGain;
    record.MarkerFlags = markerFlagsOf(panel, request.kind);
    record.IQInv = panel.iqInverse ? 1 : 0;
    record.IFConvert = isIF ? 1 : 0;
    record.IFMode = isIF && panel.ifOption != 0 ? 1 : 0;
    record.IQFilter = panel.iqFilterOn ? panel.filterIndex : -1;
    record.StartTrigger = panel.startTriggerOn ? (panel.startTriggerOption == 0 ? 0 : 1) : -1;
    record.TriggerPolarity = panel.linkOption == 0 ? 0 : 1;
    record.OutputSequence = -1;
    if (panel.outputSequenceOn)
        record.OutputSequence = panel.outputSequenceOption == 0 ? 0 : panel.outputSequenceOption == 1 ? 1 : 2;
    record.LoopNum = roundedInteger(leadingNumber(panel.loopNumText));
    record.GateMode = panel.gatedOption == 0 ? 0 : 1;
    record.IQOutput = panel.iqOutputOn ? (panel.iqOutputOption == 0 ? 0 : 1) : -1;
    record.IOutputGain = roundedInteger(leadingNumber(panel.iOutputText));
    record.QOutputGain = roundedInteger(leadingNumber(panel.qOutputText));
    record.IQOffset = panel.iqOffsetOn ? 0 : -1;
    record.IOffset = roundedInteger(leadingNumber(panel.iOffsetText));
    record.QOffset = roundedInteger(leadingNumber(panel.qOffsetText));
    return record;
}

}  // namespace

double peakValueOf(double peakI, double peakQ) { return std::fmax(std::fabs(peakI), std::fabs(peakQ)); }

TransformPlan planTransform(const TransformRequest& request) {
    TransformPlan plan;
    const double awgGain = leadingNumber(request.panel.awgGainText);
    const bool awgGainOk = awgGain >= 0.0 && awgGain <= 1.0;
    const FieldProblem awgGainProblem{"TxtAWGGain", kAwgGainError};
    const bool isIF = request.kind == TransformKind::IF;

    if (!isIF && !awgGainOk) {
        plan.problems.push_back(awgGainProblem);
        return plan;
    }
    plan.problems = unusableFields(request);
    if (!plan.problems.empty()) return plan;

    int32_t sampleCount = request.input.DataSize;
    if (request.specifyDataSize) {
        sampleCount = roundedInteger(*strictNumber(request.dataSizeText));
        plan.dataSize = sampleCount;
    }
    if (isIF && !awgGainOk) {
        plan.problems.push_back(awgGainProblem);
        return plan;
    }

    const input::LoadedInput& in = request.input;
    HalvikArguments& args = plan.arguments;
    const bool oneFile = in.InputFileKind == HALVIK_KIND_IQ_FILE;
    args.iPath = oneFile ? in.IQFilePath : in.IFilePath;
    args.qPath = oneFile ? std::string() : in.QFilePath;
    args.inputDataType = in.InputDataType;
    args.inputFileKind = in.InputFileKind;
    args.sampleCount = sampleCount;
    args.peakValue = peakValueOf(in.PeakI, in.PeakQ);
    args.settings = recordFrom(request, awgGain);
    return plan;
}

std::string problemsText(const std::vector<FieldProblem>& problems) {
    std::string text;
    for (const FieldProblem& problem : problems) {
        if (!text.empty()) text += '\n';
        text += problem.message;
    }
    return text;
}

}  // namespace orvenda
