#include "cli/panel_options.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <utility>

#include "core/settings/field_limits.h"
#include "core/settings/numeric_entry.h"
#include "core/settings/text_conversions.h"

namespace orvenda::cli {
namespace {

using settings::EntryField;

std::string inQuotes(const std::string& text) { return "\"" + text + "\""; }

using settings::FieldLimits;

[[noreturn]] void reject(const std::string& option, const std::string& why) { throw UsageError(option + ": " + why); }

double numberOf(const std::string& option, const std::string& text) {
    std::optional<double> value = settings::strictNumber(text);
    if (!value) reject(option, inQuotes(text) + " is not a number");
    return *value;
}

void checkRange(const std::string& option, const std::string& text, double value, const FieldLimits& limits,
                const std::string& unit) {
    if (value < limits.low || value > limits.high)
        reject(option, text + unit + " is outside the panel's limits " + settings::limitsText(limits) + unit);
}

int choiceOf(const std::string& option, const std::string& text, std::initializer_list<const char*> names) {
    std::string lower = text;
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    int index = 0;
    std::string list;
    for (const char* name : names) {
        std::string candidate = name;
        std::transform(candidate.begin(), candidate.end(), candidate.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        if (lower == candidate) return index;
        list += (index++ == 0 ? "" : ", ") + std::string(name);
    }
    reject(option, inQuotes(text) + " is not one of " + list);
}

int32_t wholeNumberOf(const std::string& option, const std::string& text, const FieldLimits& limits,
                      const std::string& unit) {
    double value = numberOf(option, text);
    if (value != std::trunc(value)) reject(option, inQuotes(text) + " is not a whole number");
    checkRange(option, text, value, limits, unit);
    return static_cast<int32_t>(value);
}

// Offsets and output levels move in steps (of 5 mVp-p) on the panel.
int32_t levelOf(const std::string& option, const std::string& text, const FieldLimits& limits) {
    int32_t value = wholeNumberOf(option, text, limits, " mVp-p");
    const std::string step = std::to_string(limits.step);
    if (value % limits.step != 0)
        reject(option, text + " mVp-p is not a multiple of " + step + " mVp-p, the panel's step");
    return value;
}

// "I" or "I,Q"; Q takes I's value when left out, as with the I/Q lock.
std::pair<std::string, std::string> levelPair(const std::string& option, const std::string& text,
                                              const FieldLimits& limits) {
    std::size_t comma = text.find(',');
    std::string i = text.substr(0, comma);
    std::string q = comma == std::string::npos ? i : text.substr(comma + 1);
    if (q.find(',') != std::string::npos) reject(option, inQuotes(text) + " is not I or I,Q");
    return {std::to_string(levelOf(option, i, limits)), std::to_string(levelOf(option, q, limits))};
}

// The text the field shows after Enter; refused when Enter would change the
// value, which within the limits only happens to digits the field drops.
std::string enteredTextOf(const std::string& option, EntryField field, const std::string& text, double value) {
    std::string entered = settings::enteredText(field, text);
    std::optional<double> back = settings::strictNumber(entered);
    if (!back || *back != value)
        reject(option, inQuotes(text) + " has more digits than the panel keeps (it would hold " + entered + ")");
    return entered;
}

void requireOption(const std::optional<std::string>& given, const std::string& option, bool condition,
                   const std::string& needed) {
    if (given && !condition) reject(option, "needs " + needed);
}

void applyOutputOptions(const ConvertArguments& a, settings::PanelSnapshot& panel) {
    if (a.iqOffset) {
        panel.iqOffsetOn = true;
        std::tie(panel.iOffsetText, panel.qOffsetText) = levelPair("--iq-offset", *a.iqOffset, settings::kOffsetLimits);
    }
    if (a.iqOutput) {
        panel.iqOutputOn = true;
        panel.iqOutputOption = choiceOf("--iq-output", *a.iqOutput, {"fix", "var"});
    }
    requireOption(a.iqOutputLevel, "--iq-output-level", panel.iqOutputOn && panel.iqOutputOption == 1,
                  "--iq-output var");
    if (a.iqOutputLevel)
        std::tie(panel.iOutputText, panel.qOutputText) =
            levelPair("--iq-output-level", *a.iqOutputLevel, settings::kOutputLevelLimits);
}

// The panel keeps its output sequence and start trigger boxes switched
// together, and offers "Gated" only with the "Link" trigger.
void applySequenceOptions(const ConvertArguments& a, settings::PanelSnapshot& panel) {
    // Without either option the switches stay as --settings left them.
    if (a.sequence || a.startTrigger) panel.outputSequenceOn = panel.startTriggerOn = true;
    const bool on = panel.outputSequenceOn;
    if (a.sequence) panel.outputSequenceOption = choiceOf("--sequence", *a.sequence, {"continuous", "single", "gated"});
    if (a.startTrigger) panel.startTriggerOption = choiceOf("--start-trigger", *a.startTrigger, {"internal", "link"});
    const bool link = on && panel.startTriggerOption == 1;
    if (on && panel.outputSequenceOption == 2 && !link) {
        if (!a.sequence) reject("--start-trigger", "the gated sequence of --settings needs link; give --sequence too");
        reject("--sequence", "gated needs --start-trigger link (the panel offers Gated only with the Link trigger)");
    }

    requireOption(a.loops, "--loops", on && panel.outputSequenceOption == 1, "--sequence single");
    if (a.loops) panel.loopNumText = std::to_string(wholeNumberOf("--loops", *a.loops, settings::kLoopCountLimits, ""));
    requireOption(a.gate, "--gate", on && panel.outputSequenceOption == 2, "--sequence gated");
    if (a.gate) panel.gatedOption = choiceOf("--gate", *a.gate, {"edge", "level"});
    requireOption(a.triggerPolarity, "--trigger-polarity", link, "--start-trigger link");
    if (a.triggerPolarity)
        panel.linkOption = choiceOf("--trigger-polarity", *a.triggerPolarity, {"positive", "negative"});
}

void applyFrequencyOptions(const ConvertArguments& a, ConvertPlan& plan) {
    settings::PanelSnapshot& panel = plan.panel;
    if (a.fs) {
        double mhz = numberOf("--fs", *a.fs);
        checkRange("--fs", *a.fs, mhz, settings::kSamplingFreqMHzLimits, " MHz");
        panel.fsText = enteredTextOf("--fs", EntryField::Fs, *a.fs, mhz);
    }
    if (a.ifMode) {
        plan.kind = TransformKind::IF;
        panel.ifOption = choiceOf("--if", *a.ifMode, {"real", "offset"});
    }
    requireOption(a.carrier, "--carrier", plan.kind == TransformKind::IF, "--if");
    if (a.carrier) {
        double mhz = numberOf("--carrier", *a.carrier);
        // The panel has no limits here; a carrier beyond Fs/2 folds back, as on the panel.
        if (std::fabs(mhz) > 1e12) reject("--carrier", *a.carrier + " MHz is not a usable frequency");
        panel.ifFreqText = enteredTextOf("--carrier", EntryField::IFFreq, *a.carrier, mhz);
    }
}

void applyMarkerOptions(const ConvertArguments& a, ConvertPlan& plan) {
    if (a.markerMode) {
        plan.panel.markerModeOn = true;
        plan.panel.markOption = choiceOf("--marker-mode", *a.markerMode, {"auto", "manual"});
        plan.markerModeGiven = true;
    }
    if (a.marker1 && a.marker1->empty()) reject("--marker1", "the file name is empty");
    if (a.marker2 && a.marker2->empty()) reject("--marker2", "the file name is empty");
    plan.marker1File = a.marker1;
    plan.marker2File = a.marker2;
}

}  // namespace

void applyPanelOptions(const ConvertArguments& a, ConvertPlan& plan) {
    settings::PanelSnapshot& panel = plan.panel;
    if (a.iqFilter) {
        panel.iqFilterOn = true;
        panel.filterIndex = choiceOf("--iq-filter", *a.iqFilter, {"2.5M", "50M", "through"});
    }
    if (a.dataFullScale) {
        double gain = numberOf("--data-full-scale", *a.dataFullScale);
        checkRange("--data-full-scale", *a.dataFullScale, gain, settings::kDataFullScaleLimits, "");
        panel.awgGainText = enteredTextOf("--data-full-scale", EntryField::AWGGain, *a.dataFullScale, gain);
    }
    if (a.iqInverse) panel.iqInverse = true;
    applyOutputOptions(a, panel);
    applySequenceOptions(a, panel);
    applyFrequencyOptions(a, plan);
    applyMarkerOptions(a, plan);
    if (a.dataSize)
        plan.dataSizeText =
            std::to_string(wholeNumberOf("--data-size", *a.dataSize, settings::kDataSizeLimits, " samples"));
    plan.quiet = a.quiet;
}

}  // namespace orvenda::cli
