#include "engine/memory_waveform.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "engine/awv_text.h"
#include "engine/output_file.h"
#include "engine/sample_codes.h"

namespace halvik {
namespace {

constexpr std::size_t kChunk = 4096;

double finiteOrZero(float value) { return std::isfinite(value) ? static_cast<double>(value) : 0.0; }

bool appendMarkerLine(std::string& text, const char* key, const MarkerLineSettings& marker) {
    if (marker.state == kOmitLine) return true;
    if ((marker.state != 0 && marker.state != 1) || (marker.polarity != 0 && marker.polarity != 1)) return false;
    text += std::string("{") + key + ":" + (marker.state == 1 ? "ON" : "OFF") + ";" +
            (marker.polarity == 0 ? "POS" : "NEG");
    for (int32_t param : marker.params) text += ";" + formatD(param);
    text += "}\n";
    return true;
}

// Peak magnitude over every I and Q value, non-finite values counting as 0.
double peakOf(const float* iq, std::size_t values) {
    double peak = 0.0;
    for (std::size_t k = 0; k < values; ++k) peak = std::max(peak, std::fabs(finiteOrZero(iq[k])));
    return peak;
}

}  // namespace

bool memoryWaveformHeader(const MemoryWaveformSettings& s, std::string& text) {
    static const char* const filters[] = {"{IQFILTER:FLT2_5M}\n", "{IQFILTER:FLT50M}\n", "{IQFILTER:THR}\n"};
    if (s.iqFilter != kOmitLine) {
        if (s.iqFilter < 0 || s.iqFilter > 2) return false;
        text += filters[s.iqFilter];
    }
    if (s.iGain != kOmitValue) text += "{IQGAIN:" + formatF(s.iGain) + ";" + formatF(s.qGain) + "}\n";
    if (s.iOffset != kOmitValue) text += "{IQOFFSET:" + formatF(s.iOffset) + ";" + formatF(s.qOffset) + "}\n";
    if (s.markerMode == 32) {
        text += "{MARKERMODE:SEQ}\n";
    } else if (s.markerMode == 64) {
        text += "{MARKERMODE:WFM}\n";
    } else if (s.markerMode != kOmitLine) {
        return false;
    }
    if (!appendMarkerLine(text, "MARKER1", s.marker1)) return false;
    if (!appendMarkerLine(text, "MARKER2", s.marker2)) return false;
    if (s.startTrigger != kOmitLine) {
        if ((s.startTrigger != 0 && s.startTrigger != 1) || (s.triggerPolarity != 0 && s.triggerPolarity != 1))
            return false;
        text += std::string("{STARTTRIGGER:") + (s.startTrigger == 0 ? "INT" : "LINK") + ";" +
                (s.triggerPolarity == 0 ? "POS" : "NEG") + "}\n";
    }
    if (s.outputSequence == 0) {
        text += "{OUTPUTSEQUENCE:CONT}\n";
    } else if (s.outputSequence == 1) {
        text += "{OUTPUTSEQUENCE:SINGLE;" + formatD(s.sequenceParam) + "}\n";  // "SINGLE" in this writer
    } else if (s.outputSequence == 2) {
        if (s.sequenceParam != 0 && s.sequenceParam != 1) return false;
        text += s.sequenceParam == 0 ? "{OUTPUTSEQUENCE:GATE;EDGE}\n" : "{OUTPUTSEQUENCE:GATE;LEV}\n";
    } else if (s.outputSequence != kOmitLine) {
        return false;
    }
    if (s.fs != kOmitValue) text += "{SAMPLINGFREQ:" + formatF(s.fs) + "}\n";
    static const char* const outputs[] = {"{IQOUTPUT:FIX}\n", "{IQOUTPUT:VAR}\n", "{IQOUTPUT:OFF}\n"};
    if (s.iqOutput != kOmitLine) {
        if (s.iqOutput < 0 || s.iqOutput > 2) return false;
        text += outputs[s.iqOutput];
    }
    return true;
}

int32_t writeMemoryWaveform(const MemoryWaveform& data, const MemoryWaveformSettings& s, const std::string& outPath) {
    if (!(s.awgGain >= 0.0 && s.awgGain <= 1.0)) return -1;
    if (data.sampleCount < 0 || int64_t{8} * data.sampleCount > std::numeric_limits<int32_t>::max()) return -1;
    if (data.sampleCount > 0 && data.iqData == nullptr) return -1;
    const auto count = static_cast<std::size_t>(data.sampleCount);
    const double peak = peakOf(data.iqData, 2 * count);

    auto output = OutputFile::create(outPath);
    if (!output) return -1;
    std::string header;
    if (!memoryWaveformHeader(s, header)) return -1;
    output->write(header);
    output->write(waveDataOpening(int64_t{8} * data.sampleCount));

    const bool markers = s.markerMode == 64;
    const bool inverted = s.iqInv != 0;
    std::vector<double> i(kChunk), q(kChunk);
    std::vector<int32_t> level1(kChunk), level2(kChunk);
    std::vector<uint32_t> words(2 * kChunk);
    for (std::size_t first = 0; first < count; first += kChunk) {
        std::size_t length = std::min(kChunk, count - first);
        for (std::size_t k = 0; k < length; ++k) {
            i[k] = finiteOrZero(data.iqData[2 * (first + k)]);
            q[k] = finiteOrZero(data.iqData[2 * (first + k) + 1]);
            level1[k] = (markers && data.marker1Data) ? data.marker1Data[first + k] : 0;
            level2[k] = (markers && data.marker2Data) ? data.marker2Data[first + k] : 0;
        }
        if (peak == 0.0) {
            // All values are zero: every code is the zero code (0 / 0 has none).
            std::fill_n(i.begin(), length, 0.0);
            std::fill_n(q.begin(), length, 0.0);
        }
        encodeBlock(inverted ? q.data() : i.data(), inverted ? i.data() : q.data(), level1.data(), level2.data(), 1, 1,
                    peak == 0.0 ? 1.0 : peak, s.awgGain, words.data(), length);
        output->write(words.data(), length * 2 * sizeof(uint32_t));
    }
    output->write(std::string_view(&kWaveDataClosing, 1));
    return output->commit() ? 0 : -1;
}

}  // namespace halvik
