#include "engine/halvik_header.h"

#include "engine/awv_text.h"

namespace halvik {
namespace {

constexpr int32_t kNoLine = -1;

// Appends one of the listed lines by value; false for a value not listed.
template <std::size_t N>
bool appendChoice(std::string& text, int32_t value, const char* const (&lines)[N]) {
    if (value < 0 || static_cast<std::size_t>(value) >= N) return false;
    text += lines[value];
    return true;
}

bool appendSettings(std::string& text, const ConversionSettings& s, int32_t sampleCount) {
    static const char* const filters[] = {"{IQFILTER:FLT2_5M}\n", "{IQFILTER:FLT50M}\n", "{IQFILTER:THR}\n"};
    if (s.IQFilter != kNoLine && !appendChoice(text, s.IQFilter, filters)) return false;

    if (s.IQOutput == 0) {
        text += "{IQOUTPUT:FIX}\n";
    } else if (s.IQOutput == 1) {
        text +=
            "{IQOUTPUT:VAR}\n{IQGAIN:" + formatE(s.IOutputGain * 0.001) + ";" + formatE(s.QOutputGain * 0.001) + "}\n";
    } else if (s.IQOutput != kNoLine) {
        return false;
    }

    if (s.IQOffset == 0) {
        text += "{IQOFFSET:" + formatE(s.IOffset * 0.001) + ";" + formatE(s.QOffset * 0.001) + "}\n";
    } else if (s.IQOffset != kNoLine) {
        return false;
    }

    static const char* const linkTriggers[] = {"{STARTTRIGGER:LINK;POS}\n", "{STARTTRIGGER:LINK;NEG}\n"};
    if (s.StartTrigger == 0) {
        text += "{STARTTRIGGER:INT;POS}\n";  // the polarity of the internal trigger is not read
    } else if (s.StartTrigger == 1) {
        if (!appendChoice(text, s.TriggerPolarity, linkTriggers)) return false;
    } else if (s.StartTrigger != kNoLine) {
        return false;
    }

    static const char* const gates[] = {"{OUTPUTSEQUENCE:GATE;EDGE}\n", "{OUTPUTSEQUENCE:GATE;LEV}\n"};
    if (s.OutputSequence == 0) {
        text += "{OUTPUTSEQUENCE:CONT}\n";
    } else if (s.OutputSequence == 1) {
        text += "{OUTPUTSEQUENCE:SINGL;" + formatD(s.LoopNum) + "}\n";  // "SINGL" is this writer's spelling
    } else if (s.OutputSequence == 2) {
        if (!appendChoice(text, s.GateMode, gates)) return false;
    } else if (s.OutputSequence != kNoLine) {
        return false;
    }

    if (s.Fs > 0.0) text += "{SAMPLINGFREQ:" + formatF(s.Fs) + "}\n";

    std::string half = formatD(sampleCount / 2);
    if (s.MarkerFlags & (HALVIK_MARKER_BOTH_LINES | HALVIK_MARKER_1_LINE))
        text += "{MARKER1:ON;POS;0;" + half + ";" + half + ";1}\n";
    if (s.MarkerFlags & (HALVIK_MARKER_BOTH_LINES | HALVIK_MARKER_2_LINE))
        text += "{MARKER2:ON;POS;0;" + half + ";" + half + ";1}\n";
    if (s.MarkerFlags & HALVIK_MARKER_MODE_WFM) {
        text += "{MARKERMODE:WFM}\n";
    } else if (s.MarkerFlags & HALVIK_MARKER_MODE_SEQ) {
        text += "{MARKERMODE:SEQ}\n";
    }
    return true;
}

}  // namespace

std::string dateLine(const std::tm& localTime) {
    char date[64];
    char time[64];
    std::strftime(date, sizeof date, "%Y/%m/%d", &localTime);
    std::strftime(time, sizeof time, "%H:%M:%S", &localTime);
    return std::string("{DATE:") + date + ";" + time + "}\n";
}

HeaderResult conversionHeader(const ConversionSettings& settings, int32_t sampleCount, const std::tm& localTime) {
    HeaderResult result{dateLine(localTime), true};
    result.complete = appendSettings(result.text, settings, sampleCount);
    return result;
}

}  // namespace halvik
