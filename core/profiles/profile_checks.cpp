#include "core/profiles/profile_checks.h"

#include <cmath>

#include "core/settings/field_limits.h"
#include "core/settings/text_conversions.h"

namespace orvenda::profiles {
namespace {

using settings::EntryField;

constexpr std::size_t kMostMarkerPoints = 1001;  // the store's capacity

std::string numberText(double value) { return settings::generalNumberText(value); }

std::optional<ProfileError> limited(const char* key, double value, const settings::FieldLimits& limits,
                                    const char* unit) {
    if (!(value >= limits.low && value <= limits.high))
        return ProfileError{std::string(key) + ": " + numberText(value) + unit + " is outside the panel's limits " +
                            settings::limitsText(limits) + unit};
    if (limits.step > 1 && std::fmod(value, limits.step) != 0.0)
        return ProfileError{std::string(key) + ": " + numberText(value) + unit + " is not a multiple of " +
                            std::to_string(limits.step) + unit + ", the panel's step"};
    return std::nullopt;
}

std::optional<ProfileError> keptByField(const char* key, EntryField field, double value) {
    if (!fieldTextOf(field, value))
        return ProfileError{std::string(key) + ": " + numberText(value) +
                            " has more digits than the panel's field keeps"};
    return std::nullopt;
}

std::optional<ProfileError> firstOf(std::initializer_list<std::optional<ProfileError>> checks) {
    for (const auto& check : checks)
        if (check) return check;
    return std::nullopt;
}

std::optional<ProfileError> interlocked(const char* key, bool on, int32_t i, int32_t q) {
    if (on && i != q)
        return ProfileError{std::string(key) + ": the I/Q value interlock is on but I (" + std::to_string(i) +
                            ") and Q (" + std::to_string(q) + ") differ; the panel keeps them equal"};
    return std::nullopt;
}

std::optional<ProfileError> markerList(const char* key, const std::vector<MarkerPoint>& points) {
    if (points.size() > kMostMarkerPoints)
        return ProfileError{std::string(key) + ": " + std::to_string(points.size()) +
                            " change points; a marker holds at most " + std::to_string(kMostMarkerPoints)};
    return std::nullopt;
}

}  // namespace

std::optional<std::string> fieldTextOf(EntryField field, double value) {
    if (!std::isfinite(value)) return std::nullopt;
    const std::string typed = numberText(value);
    std::string shown = settings::enteredText(field, typed);
    const std::optional<double> back = settings::strictNumber(shown);
    if (!back || *back != value) return std::nullopt;
    return shown;
}

std::optional<ProfileError> checkProfile(const SettingsProfile& p) {
    const auto choice = [](const char* key, int value, int count) -> std::optional<ProfileError> {
        if (value < 0 || value >= count)
            return ProfileError{std::string(key) + ": choice " + std::to_string(value) + " does not exist"};
        return std::nullopt;
    };
    return firstOf({
        choice("iqFilter.filter", p.filter, 3),
        limited("dataFullScale.value", p.dataFullScale, settings::kDataFullScaleLimits, ""),
        keptByField("dataFullScale.value", EntryField::AWGGain, p.dataFullScale),
        limited("iqOffset.i", p.iOffset, settings::kOffsetLimits, " mVp-p"),
        limited("iqOffset.q", p.qOffset, settings::kOffsetLimits, " mVp-p"),
        interlocked("iqOffset.interlock", p.iqOffsetInterlock, p.iOffset, p.qOffset),
        choice("iqOutput.path", p.iqOutputPath, 2),
        limited("iqOutput.i", p.iOutput, settings::kOutputLevelLimits, " mVp-p"),
        limited("iqOutput.q", p.qOutput, settings::kOutputLevelLimits, " mVp-p"),
        interlocked("iqOutput.interlock", p.iqOutputInterlock, p.iOutput, p.qOutput),
        choice("outputSequence.mode", p.outputSequence, 3),
        limited("outputSequence.loops", p.loops, settings::kLoopCountLimits, ""),
        choice("outputSequence.gate", p.gate, 2),
        choice("startTrigger.source", p.startTrigger, 2),
        choice("startTrigger.polarity", p.linkPolarity, 2),
        p.startTriggerOn != p.outputSequenceOn
            ? std::optional<ProfileError>{ProfileError{
                  "startTrigger.on: differs from outputSequence.on; the panel switches both together"}}
            : std::nullopt,
        p.outputSequence == 2 && p.startTrigger != 1
            ? std::optional<ProfileError>{ProfileError{
                  "outputSequence.mode: \"gated\" needs startTrigger.source \"link\"; the panel offers Gated only "
                  "with the Link trigger"}}
            : std::nullopt,
        limited("samplingFrequencyMHz", p.samplingFrequencyMHz, settings::kSamplingFreqMHzLimits, " MHz"),
        keptByField("samplingFrequencyMHz", EntryField::Fs, p.samplingFrequencyMHz),
        choice("marker.edit", p.markerEdit, 2),
        markerList("marker.marker1Points", p.marker1Points),
        markerList("marker.marker2Points", p.marker2Points),
        choice("intermediateFrequency.mode", p.ifMode, 2),
        keptByField("intermediateFrequency.carrierMHz", EntryField::IFFreq, p.carrierMHz),
        std::isfinite(p.carrierMHz * 1e6) ? std::nullopt
                                          : std::optional<ProfileError>{ProfileError{
                                                "intermediateFrequency.carrierMHz: too large to be a frequency"}},
    });
}

bool SettingsProfile::operator==(const SettingsProfile& o) const {
    const auto samePoints = [](const std::vector<MarkerPoint>& a, const std::vector<MarkerPoint>& b) {
        if (a.size() != b.size()) return false;
        for (std::size_t k = 0; k < a.size(); ++k)
            if (a[k].Pos != b[k].Pos || a[k].Value != b[k].Value) return false;
        return true;
    };
    return iqFilterOn == o.iqFilterOn && filter == o.filter && dataFullScale == o.dataFullScale &&
           iqInverse == o.iqInverse && iqOffsetOn == o.iqOffsetOn && iqOffsetInterlock == o.iqOffsetInterlock &&
           iOffset == o.iOffset && qOffset == o.qOffset && iqOutputOn == o.iqOutputOn &&
           iqOutputPath == o.iqOutputPath && iqOutputInterlock == o.iqOutputInterlock && iOutput == o.iOutput &&
           qOutput == o.qOutput && outputSequenceOn == o.outputSequenceOn && outputSequence == o.outputSequence &&
           loops == o.loops && gate == o.gate && startTriggerOn == o.startTriggerOn && startTrigger == o.startTrigger &&
           linkPolarity == o.linkPolarity && samplingFrequencyMHz == o.samplingFrequencyMHz && markerOn == o.markerOn &&
           markerEdit == o.markerEdit && marker1On == o.marker1On && marker2On == o.marker2On &&
           samePoints(marker1Points, o.marker1Points) && samePoints(marker2Points, o.marker2Points) &&
           ifMode == o.ifMode && carrierMHz == o.carrierMHz;
}

}  // namespace orvenda::profiles
