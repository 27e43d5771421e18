// The three C entry points of HalvikLib. Each one turns its arguments into the
// engine's own types and catches every exception, so nothing but the
// documented result code (0 or -1) ever crosses the boundary. The library only
// reads what the caller passes and keeps nothing after the call.
#include "common/halvik_api.h"
#include "engine/conversion.h"
#include "engine/memory_waveform.h"

namespace {

std::string pathOrEmpty(const char* path) { return path != nullptr ? std::string(path) : std::string(); }

}  // namespace

extern "C" int32_t Halvik(const char* IPath, const char* QPath, int32_t InputDataType, int32_t InputFileKind,
                          const MarkerPoint* Marker1Points, const MarkerPoint* Marker2Points, int32_t SampleCount,
                          double PeakValue, const ConversionSettings* Settings, const char* OutPath) {
    if (Settings == nullptr || OutPath == nullptr) return halvik::kFailure;
    try {
        halvik::ConversionRequest request;
        request.iPath = pathOrEmpty(IPath);
        request.qPath = pathOrEmpty(QPath);
        request.inputDataType = InputDataType;
        request.inputFileKind = InputFileKind;
        request.marker1 = Marker1Points;
        request.marker2 = Marker2Points;
        request.sampleCount = SampleCount;
        request.peakValue = PeakValue;
        request.settings = Settings;
        request.outPath = OutPath;
        return halvik::convert(request);
    } catch (...) {
        return halvik::kFailure;
    }
}

extern "C" int32_t HalvikMain(const float* IQData, const int16_t* Marker1Data, const int16_t* Marker2Data,
                              int32_t SampleCount, const char* OutPath, double IGain, double QGain, double IOffset,
                              double QOffset, double Fs, double AWGGain, int32_t IQFilter, int32_t MarkerMode,
                              int32_t Marker1State, int32_t Marker1Polarity, int32_t Marker1Param1,
                              int32_t Marker1Param2, int32_t Marker1Param3, int32_t Marker1Param4, int32_t Marker2State,
                              int32_t Marker2Polarity, int32_t Marker2Param1, int32_t Marker2Param2,
                              int32_t Marker2Param3, int32_t Marker2Param4, int32_t StartTrigger,
                              int32_t TriggerPolarity, int32_t OutputSequence, int32_t SequenceParam, int32_t IQOutput,
                              int32_t IQInv) {
    if (OutPath == nullptr) return halvik::kFailure;
    try {
        halvik::MemoryWaveform data{IQData, Marker1Data, Marker2Data, SampleCount};
        halvik::MemoryWaveformSettings s;
        s.iGain = IGain;
        s.qGain = QGain;
        s.iOffset = IOffset;
        s.qOffset = QOffset;
        s.fs = Fs;
        s.awgGain = AWGGain;
        s.iqFilter = IQFilter;
        s.markerMode = MarkerMode;
        s.marker1 = {Marker1State, Marker1Polarity, {Marker1Param1, Marker1Param2, Marker1Param3, Marker1Param4}};
        s.marker2 = {Marker2State, Marker2Polarity, {Marker2Param1, Marker2Param2, Marker2Param3, Marker2Param4}};
        s.startTrigger = StartTrigger;
        s.triggerPolarity = TriggerPolarity;
        s.outputSequence = OutputSequence;
        s.sequenceParam = SequenceParam;
        s.iqOutput = IQOutput;
        s.iqInv = IQInv;
        return halvik::writeMemoryWaveform(data, s, OutPath);
    } catch (...) {
        return halvik::kFailure;
    }
}

extern "C" int32_t HalvikMainVB(const float* IQData, const int16_t* Marker1Data, const int16_t* Marker2Data,
                                int32_t SampleCount, const char* OutPath, double IGain, double QGain, double IOffset,
                                double QOffset, double Fs, double AWGGain, int32_t IQFilter, int32_t MarkerMode,
                                int32_t Marker1State, int32_t Marker1Polarity, int32_t Marker1Param1,
                                int32_t Marker1Param2, int32_t Marker1Param3, int32_t Marker1Param4,
                                int32_t Marker2State, int32_t Marker2Polarity, int32_t Marker2Param1,
                                int32_t Marker2Param2, int32_t Marker2Param3, int32_t Marker2Param4,
                                int32_t StartTrigger, int32_t TriggerPolarity, int32_t OutputSequence,
                                int32_t SequenceParam, int32_t IQOutput, int32_t IQInv) {
    return HalvikMain(IQData, Marker1Data, Marker2Data, SampleCount, OutPath, IGain, QGain, IOffset, QOffset, Fs,
                      AWGGain, IQFilter, MarkerMode, Marker1State, Marker1Polarity, Marker1Param1, Marker1Param2,
                      Marker1Param3, Marker1Param4, Marker2State, Marker2Polarity, Marker2Param1, Marker2Param2,
                      Marker2Param3, Marker2Param4, StartTrigger, TriggerPolarity, OutputSequence, SequenceParam,
                      IQOutput, IQInv);
}
