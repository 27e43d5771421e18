// Helpers shared by the engine tests: a scratch folder, whole-file reads and
// writes, and an independent model of the waveform file's bytes.
#ifndef ORVENDA_TESTS_ENGINE_TEST_SUPPORT_H
#define ORVENDA_TESTS_ENGINE_TEST_SUPPORT_H

#include <cmath>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/halvik_api.h"
#include "tests/support/scratch_folder.h"

namespace halvik::test {

// Names parameterised rows after their name field.
struct RowName {
    template <typename Info>
    std::string operator()(const Info& row) const {
        return row.param.name;
    }
};

// A fresh folder per test, removed afterwards.
using ScratchDir = orvenda::testsupport::ScratchFolder;

inline std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

template <typename T>
std::string bytesOf(const std::vector<T>& values) {
    std::string bytes(values.size() * sizeof(T), '\0');
    if (!values.empty()) std::memcpy(bytes.data(), values.data(), bytes.size());
    return bytes;
}

// The code a value gets, written out from the file's rules: offset binary
// around 8192, truncated toward zero, held within 1..16383.
inline uint32_t expectedCode(double value, double peak, double gain) {
    double scaled = ((value / peak) * gain) * 8191.0 + 8192.0;
    double truncated = std::trunc(scaled);
    if (truncated < 1.0) truncated = 1.0;
    if (truncated > 16383.0) truncated = 16383.0;
    return static_cast<uint32_t>(truncated);
}

// Little-endian bytes of sample words.
inline std::string wordBytes(const std::vector<uint32_t>& words) {
    std::string bytes;
    for (uint32_t w : words) {
        for (int shift = 0; shift < 32; shift += 8) bytes.push_back(static_cast<char>((w >> shift) & 0xffu));
    }
    return bytes;
}

inline std::string waveData(const std::vector<uint32_t>& words) {
    return "{WAVEDATA:" + std::to_string(words.size() * 4) + ";" + wordBytes(words) + "}";
}

// Settings that write no optional header line and run no conversion.
inline ConversionSettings quietSettings() {
    ConversionSettings s{};
    s.Fs = 0.0;
    s.IFFreq = 0.0;
    s.AWGGain = 1.0;
    s.IQFilter = -1;
    s.MarkerFlags = 0;
    s.IQInv = 0;
    s.IFConvert = 0;
    s.IFMode = 0;
    s.StartTrigger = -1;
    s.TriggerPolarity = 0;
    s.OutputSequence = -1;
    s.LoopNum = 0;
    s.GateMode = 0;
    s.IQOutput = -1;
    s.IOutputGain = 0;
    s.QOutputGain = 0;
    s.IQOffset = -1;
    s.IOffset = 0;
    s.QOffset = 0;
    return s;
}

// The file without its first (DATE) line; the DATE line alone.
inline std::string withoutDateLine(const std::string& file) {
    auto feed = file.find('\n');
    return feed == std::string::npos ? std::string() : file.substr(feed + 1);
}
// The data record alone, from "{WAVEDATA:" to the end.
inline std::string dataRecordOf(const std::string& file) {
    auto start = file.find("{WAVEDATA:");
    return start == std::string::npos ? std::string() : file.substr(start);
}
inline std::string dateLineOf(const std::string& file) { return file.substr(0, file.find('\n') + 1); }

}  // namespace halvik::test

#endif
