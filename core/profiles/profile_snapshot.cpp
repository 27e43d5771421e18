#include "core/profiles/profile_snapshot.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "core/profiles/profile_checks.h"
#include "core/settings/text_conversions.h"

namespace orvenda::profiles {
namespace {

using settings::EntryField;
using settings::PanelSnapshot;

struct Refused {
    std::string message;
};

[[noreturn]] void refuse(const char* caption, const std::string& why) {
    throw Refused{std::string(caption) + ": " + why};
}

double valueOf(const char* caption, const std::string& text) {
    const std::optional<double> value = settings::strictNumber(text);
    if (!value || !std::isfinite(*value)) refuse(caption, "\"" + text + "\" is not a number");
    return *value + 0.0;
}

int32_t wholeValueOf(const char* caption, const std::string& text) {
    const double value = valueOf(caption, text);
    if (value != std::trunc(value) || value < std::numeric_limits<int32_t>::min() ||
        value > std::numeric_limits<int32_t>::max())
        refuse(caption, "\"" + text + "\" is not a whole number");
    return static_cast<int32_t>(value);
}

int optionOf(const char* caption, settings::OptionIndex index, int count) {
    if (index < 0 || index >= count) refuse(caption, "no option is selected");
    return index;
}

// A checked profile always has its field text; the general text otherwise.
std::string shown(EntryField field, double value) {
    return fieldTextOf(field, value).value_or(settings::generalNumberText(value));
}

}  // namespace

PanelSnapshot snapshotOf(const SettingsProfile& p) {
    PanelSnapshot s;
    s.iqFilterOn = p.iqFilterOn;
    s.filterIndex = p.filter;
    s.iqInverse = p.iqInverse;
    s.awgGainText = shown(EntryField::AWGGain, p.dataFullScale);
    s.iqOffsetOn = p.iqOffsetOn;
    s.iqOffsetLock = p.iqOffsetInterlock;
    s.iOffsetText = shown(EntryField::IOffset, p.iOffset);
    s.qOffsetText = shown(EntryField::QOffset, p.qOffset);
    s.iqOutputOn = p.iqOutputOn;
    s.iqOutputOption = p.iqOutputPath;
    s.iqOutputLock = p.iqOutputInterlock;
    s.iOutputText = shown(EntryField::IOutput, p.iOutput);
    s.qOutputText = shown(EntryField::QOutput, p.qOutput);
    s.outputSequenceOn = p.outputSequenceOn;
    s.outputSequenceOption = p.outputSequence;
    s.gatedOption = p.gate;
    s.loopNumText = shown(EntryField::LoopNum, p.loops);
    s.startTriggerOn = p.startTriggerOn;
    s.startTriggerOption = p.startTrigger;
    s.linkOption = p.linkPolarity;
    s.fsText = shown(EntryField::Fs, p.samplingFrequencyMHz);
    s.markerModeOn = p.markerOn;
    s.markOption = p.markerEdit;
    s.mark1On = p.marker1On;
    s.mark2On = p.marker2On;
    s.ifOption = p.ifMode;
    s.ifFreqText = shown(EntryField::IFFreq, p.carrierMHz);
    return s;
}

std::vector<MarkerPoint> storedPoints(const markers::MarkerStore& store, int marker) {
    const markers::MarkerPoints& points = marker == 1 ? store.Marker1Points : store.Marker2Points;
    const int32_t count =
        std::clamp<int32_t>(marker == 1 ? store.Marker1Count : store.Marker2Count, 0, markers::kMarkerPointCapacity);
    return std::vector<MarkerPoint>(points.begin(), points.begin() + count);
}

std::variant<SettingsProfile, ProfileError> profileOf(const PanelSnapshot& s, const markers::MarkerStore& store) {
    SettingsProfile p;
    try {
        p.iqFilterOn = s.iqFilterOn;
        p.filter = optionOf("I/Q Filter", s.filterIndex, 3);
        p.iqInverse = s.iqInverse;
        p.dataFullScale = valueOf("Data Full Scale", s.awgGainText);
        p.iqOffsetOn = s.iqOffsetOn;
        p.iqOffsetInterlock = s.iqOffsetLock;
        p.iOffset = wholeValueOf("I/Q Offset I", s.iOffsetText);
        p.qOffset = wholeValueOf("I/Q Offset Q", s.qOffsetText);
        p.iqOutputOn = s.iqOutputOn;
        p.iqOutputPath = optionOf("I/Q Output", s.iqOutputOption, 2);
        p.iqOutputInterlock = s.iqOutputLock;
        p.iOutput = wholeValueOf("I/Q Output I", s.iOutputText);
        p.qOutput = wholeValueOf("I/Q Output Q", s.qOutputText);
        p.outputSequenceOn = s.outputSequenceOn;
        p.outputSequence = optionOf("Output Sequence", s.outputSequenceOption, 3);
        p.loops = wholeValueOf("Loop Num", s.loopNumText);
        p.gate = optionOf("Output Sequence gate", s.gatedOption, 2);
        p.startTriggerOn = s.startTriggerOn;
        p.startTrigger = optionOf("Start Trigger", s.startTriggerOption, 2);
        p.linkPolarity = optionOf("Start Trigger polarity", s.linkOption, 2);
        p.samplingFrequencyMHz = valueOf("Sampling Freq", s.fsText);
        p.markerOn = s.markerModeOn;
        p.markerEdit = optionOf("Marker", s.markOption, 2);
        p.marker1On = s.mark1On;
        p.marker2On = s.mark2On;
        p.ifMode = optionOf("Intermidiate Frequency", s.ifOption, 2);
        p.carrierMHz = valueOf("Carrier Freq", s.ifFreqText);
    } catch (const Refused& refused) {
        return ProfileError{refused.message + "; type a number and press Enter in the field"};
    }
    p.marker1Points = storedPoints(store, 1);
    p.marker2Points = storedPoints(store, 2);
    if (auto problem = checkProfile(p))
        return ProfileError{problem->message + " (press Enter in the field so the panel applies its limits)"};
    return p;
}

void storeProfilePoints(markers::MarkerStore& store, int marker, const std::vector<MarkerPoint>& points) {
    markers::MarkerPoints& list = marker == 1 ? store.Marker1Points : store.Marker2Points;
    const std::size_t count = std::min<std::size_t>(points.size(), markers::kMarkerPointCapacity);
    std::copy_n(points.begin(), count, list.begin());
    std::fill(list.begin() + static_cast<std::ptrdiff_t>(count), list.end(), MarkerPoint{0, 0});
    (marker == 1 ? store.Marker1Count : store.Marker2Count) = static_cast<int32_t>(count);
    const int64_t length =
        count == 0 ? 0 : std::min<int64_t>(int64_t{points[count - 1].Pos} + 1, std::numeric_limits<int32_t>::max());
    (marker == 1 ? store.Marker1Length : store.Marker2Length) = static_cast<int32_t>(length);
    store.MarkerLength = std::max(store.Marker1Length, store.Marker2Length);
}

}  // namespace orvenda::profiles
