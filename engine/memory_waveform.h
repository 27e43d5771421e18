// Writing a waveform file from I/Q float pairs and per-sample marker levels
// held in memory: the work behind HalvikMain and HalvikMainVB.
#ifndef ORVENDA_ENGINE_MEMORY_WAVEFORM_H
#define ORVENDA_ENGINE_MEMORY_WAVEFORM_H

#include <array>
#include <cstdint>
#include <string>

namespace halvik {

// -255 (or -255.0) leaves a header line out.
inline constexpr int32_t kOmitLine = -255;
inline constexpr double kOmitValue = -255.0;

struct MarkerLineSettings {
    int32_t state = kOmitLine;  // 0 OFF, 1 ON
    int32_t polarity = 0;       // 0 POS, 1 NEG
    std::array<int32_t, 4> params{};
};

struct MemoryWaveformSettings {
    double iGain = kOmitValue;
    double qGain = 0.0;
    double iOffset = kOmitValue;
    double qOffset = 0.0;
    double fs = kOmitValue;
    double awgGain = 1.0;
    int32_t iqFilter = kOmitLine;
    int32_t markerMode = kOmitLine;  // 32 SEQ, 64 WFM and marker bits in the data
    MarkerLineSettings marker1;
    MarkerLineSettings marker2;
    int32_t startTrigger = kOmitLine;
    int32_t triggerPolarity = 0;
    int32_t outputSequence = kOmitLine;
    int32_t sequenceParam = 0;
    int32_t iqOutput = kOmitLine;
    int32_t iqInv = 0;
};

struct MemoryWaveform {
    const float* iqData = nullptr;         // sampleCount I/Q pairs
    const int16_t* marker1Data = nullptr;  // null: marker level 0 throughout
    const int16_t* marker2Data = nullptr;
    int32_t sampleCount = 0;
};

// The header lines in this writer's order; false for a value outside its list
// (text then holds the lines before it).
bool memoryWaveformHeader(const MemoryWaveformSettings& settings, std::string& text);

// 0 when outPath was written completely, -1 otherwise (outPath then as before).
int32_t writeMemoryWaveform(const MemoryWaveform& data, const MemoryWaveformSettings& settings,
                            const std::string& outPath);

}  // namespace halvik

#endif
