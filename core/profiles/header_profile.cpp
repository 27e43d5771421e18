#include "core/profiles/header_profile.h"

#include <cmath>
#include <map>

#include "core/profiles/profile_checks.h"
#include "core/settings/field_limits.h"
#include "core/settings/numeric_entry.h"
#include "core/settings/text_conversions.h"
#include "engine/awv_text.h"

namespace orvenda::profiles {
namespace {

using halvik::AwvHeaderLine;

struct Refused {
    std::string message;
};

std::string lineText(const AwvHeaderLine& line) {
    std::string text = "{" + line.key + ":";
    for (std::size_t k = 0; k < line.fields.size(); ++k) text += (k == 0 ? "" : ";") + line.fields[k];
    return text + "}";
}

[[noreturn]] void refuse(const AwvHeaderLine& line, const std::string& why) {
    throw Refused{"line " + lineText(line) + " (byte " + std::to_string(line.offset) + "): " + why};
}

class Header {
public:
    explicit Header(const std::vector<AwvHeaderLine>& lines) {
        for (const AwvHeaderLine& line : lines) byKey_.emplace(line.key, &line);
    }
    const AwvHeaderLine* find(const std::string& key) const {
        const auto found = byKey_.find(key);
        return found == byKey_.end() ? nullptr : found->second;
    }

private:
    std::map<std::string, const AwvHeaderLine*> byKey_;
};

// The reader has checked the field counts and words; these check that the
// panel writes exactly these texts.
const std::string& field(const AwvHeaderLine& line, std::size_t index) {
    if (index >= line.fields.size()) refuse(line, "too few fields");
    return line.fields[index];
}

// An I/Q pair of "%E" volts as whole mVp-p in the panel's limits and steps.
std::pair<int32_t, int32_t> levelPair(const AwvHeaderLine& line, const settings::FieldLimits& limits) {
    int32_t levels[2] = {0, 0};
    for (std::size_t k = 0; k < 2; ++k) {
        const std::string& text = field(line, k);
        const std::optional<double> volts = settings::strictNumber(text);
        const double millivolts = volts ? std::round(*volts * 1000.0) : NAN;
        if (!(millivolts >= limits.low && millivolts <= limits.high))
            refuse(line, "\"" + text + "\" is outside the panel's limits " + settings::limitsText(limits) + " mVp-p");
        const auto whole = static_cast<int32_t>(millivolts);
        if (whole % limits.step != 0 || halvik::formatE(whole * 0.001) != text)
            refuse(line, "\"" + text + "\" is not a value the panel writes (whole mVp-p in steps of " +
                             std::to_string(limits.step) + ")");
        levels[k] = whole;
    }
    return {levels[0], levels[1]};
}

double samplingFrequencyMHz(const AwvHeaderLine& line) {
    const std::string& text = field(line, 0);
    const std::optional<double> hertz = settings::strictNumber(text);
    if (!hertz) refuse(line, "the frequency cannot be read");
    const std::string shown =
        settings::enteredText(settings::EntryField::Fs, settings::generalNumberText(*hertz / 1000000.0));
    const double mhz = *settings::strictNumber(shown);
    const settings::FieldLimits& limits = settings::kSamplingFreqMHzLimits;
    if (!(*hertz >= limits.low * 1000000.0 && *hertz <= limits.high * 1000000.0))
        refuse(line, "outside the panel's limits " + settings::limitsText(limits) + " MHz");
    if (halvik::formatF(mhz * 1000000.0) != text) refuse(line, "not a frequency the panel holds (11 decimals of MHz)");
    return mhz;
}

// "ON;POS;0;n;n;1", the one form this program's transforms write.
void checkMarkerLine(const AwvHeaderLine& line) {
    const bool written = line.fields.size() == 6 && line.fields[0] == "ON" && line.fields[1] == "POS" &&
                         line.fields[2] == "0" && line.fields[3] == line.fields[4] && line.fields[5] == "1" &&
                         !line.fields[3].empty() && line.fields[3][0] != '-';
    if (!written) refuse(line, "the panel writes " + line.key + " lines as ON;POS;0;n;n;1 only");
}

class Mapping {
public:
    Mapping(const Header& header, SettingsProfile& p, std::vector<std::string>& untold)
        : h_(header), p_(p), untold_(untold) {}

    void run() {
        filter();
        output();
        offset();
        sequenceAndTrigger();
        frequency();
        markers();
        untold_.insert(untold_.end(), {"Data Full Scale", "IQ Inverse", "Intermidiate Frequency (IF or Freq Offset)",
                                       "Carrier Freq", "the change points of Marker1 and Marker2"});
    }

private:
    void filter() {
        const AwvHeaderLine* line = h_.find("IQFILTER");
        p_.iqFilterOn = line != nullptr;
        if (!line) {
            untold_.push_back("the I/Q Filter list (I/Q Filter is off)");
            return;
        }
        const std::string& word = field(*line, 0);
        p_.filter = word == "FLT2_5M" ? 0 : word == "FLT50M" ? 1 : 2;
    }

    void output() {
        const AwvHeaderLine* line = h_.find("IQOUTPUT");
        const AwvHeaderLine* gain = h_.find("IQGAIN");
        p_.iqOutputOn = line != nullptr;
        if (!line) {
            if (gain) refuse(*gain, "the panel writes IQGAIN only after {IQOUTPUT:VAR}");
            untold_.push_back("the I/Q Output path and levels (I/Q Output is off)");
            return;
        }
        const std::string& word = field(*line, 0);
        if (word == "OFF") refuse(*line, "the panel has no OFF output path");
        p_.iqOutputPath = word == "VAR" ? 1 : 0;
        if (word == "FIX") {
            if (gain) refuse(*gain, "the panel writes IQGAIN only after {IQOUTPUT:VAR}");
            untold_.push_back("the I/Q Output levels (Fix Gain Path)");
            return;
        }
        if (!gain) refuse(*line, "the panel writes an IQGAIN line after {IQOUTPUT:VAR}, and there is none");
        std::tie(p_.iOutput, p_.qOutput) = levelPair(*gain, settings::kOutputLevelLimits);
        if (p_.iOutput != p_.qOutput) p_.iqOutputInterlock = false;
    }

    void offset() {
        const AwvHeaderLine* line = h_.find("IQOFFSET");
        p_.iqOffsetOn = line != nullptr;
        if (!line) {
            untold_.push_back("the I/Q Offset values (I/Q Offset is off)");
            return;
        }
        std::tie(p_.iOffset, p_.qOffset) = levelPair(*line, settings::kOffsetLimits);
        if (p_.iOffset != p_.qOffset) p_.iqOffsetInterlock = false;
    }

    void sequenceAndTrigger() {
        const AwvHeaderLine* trigger = h_.find("STARTTRIGGER");
        const AwvHeaderLine* sequence = h_.find("OUTPUTSEQUENCE");
        if (!trigger && !sequence) {
            p_.outputSequenceOn = p_.startTriggerOn = false;
            untold_.push_back("Output Sequence and Start Trigger choices (both are off)");
            return;
        }
        if (!trigger) refuse(*sequence, "the panel writes it together with a STARTTRIGGER line, and there is none");
        if (!sequence) refuse(*trigger, "the panel writes it together with an OUTPUTSEQUENCE line, and there is none");
        p_.outputSequenceOn = p_.startTriggerOn = true;
        const bool link = field(*trigger, 0) == "LINK";
        const bool negative = field(*trigger, 1) == "NEG";
        if (!link && negative) refuse(*trigger, "the panel writes the internal trigger as INT;POS only");
        p_.startTrigger = link ? 1 : 0;
        if (link)
            p_.linkPolarity = negative ? 1 : 0;
        else
            untold_.push_back("the Link polarity (the trigger is Internal)");

        const std::string& mode = field(*sequence, 0);
        if (mode == "CONT") {
            p_.outputSequence = 0;
        } else if (mode == "SINGL") {
            p_.outputSequence = 1;
            const std::optional<double> loops = settings::strictNumber(field(*sequence, 1));
            const settings::FieldLimits& limits = settings::kLoopCountLimits;
            if (!loops || *loops < limits.low || *loops > limits.high)
                refuse(*sequence, "the loop count is outside the panel's limits " + settings::limitsText(limits));
            p_.loops = static_cast<int32_t>(*loops);
        } else if (mode == "GATE") {
            if (!link) refuse(*sequence, "the panel offers Gated only with the Link trigger, and the trigger is INT");
            p_.outputSequence = 2;
            p_.gate = field(*sequence, 1) == "LEV" ? 1 : 0;
        } else {
            refuse(*sequence, "the panel writes a single run as SINGL;n");
        }
        if (mode != "SINGL") untold_.push_back("Loop Num");
        if (mode != "GATE") untold_.push_back("the gate (Trigger Edge or Trigger Level)");
    }

    void frequency() {
        const AwvHeaderLine* line = h_.find("SAMPLINGFREQ");
        if (!line) throw Refused{"the header has no SAMPLINGFREQ line, which the panel always writes"};
        p_.samplingFrequencyMHz = samplingFrequencyMHz(*line);
    }

    // WFM: marker output on, "Manual Edit", a line per ON box. SEQ: "Auto
    // Edit", which writes both lines. No mode line: marker output off, the
    // ON boxes (kept checked while greyed) still give their lines.
    void markers() {
        const AwvHeaderLine* mode = h_.find("MARKERMODE");
        const AwvHeaderLine* m1 = h_.find("MARKER1");
        const AwvHeaderLine* m2 = h_.find("MARKER2");
        for (const AwvHeaderLine* line : {m1, m2})
            if (line) checkMarkerLine(*line);
        if (mode && field(*mode, 0) == "SEQ") {
            if (!m1 || !m2) refuse(*mode, "with Auto Edit the panel writes both MARKER1 and MARKER2 lines");
            p_.markerOn = true;
            p_.markerEdit = 0;
            untold_.push_back("Marker1 ON and Marker2 ON (Auto Edit)");
            return;
        }
        p_.markerOn = mode != nullptr;
        if (mode)
            p_.markerEdit = 1;
        else
            untold_.push_back("Auto Edit or Manual Edit (Marker is off)");
        p_.marker1On = m1 != nullptr;
        p_.marker2On = m2 != nullptr;
    }

    const Header& h_;
    SettingsProfile& p_;
    std::vector<std::string>& untold_;
};

}  // namespace

std::string joinedList(const std::vector<std::string>& items) {
    std::string text;
    for (std::size_t k = 0; k < items.size(); ++k)
        text += (k == 0 ? "" : k + 1 == items.size() ? " and " : ", ") + items[k];
    return text;
}

std::variant<HeaderSettings, ProfileError> profileFromHeader(const std::vector<AwvHeaderLine>& lines,
                                                             const SettingsProfile& base) {
    HeaderSettings result{base, {}};
    try {
        const Header header(lines);
        Mapping(header, result.profile, result.untold).run();
    } catch (const Refused& refused) {
        return ProfileError{refused.message};
    }
    if (auto problem = checkProfile(result.profile)) return *problem;
    return result;
}

}  // namespace orvenda::profiles
