// A conversion call with every argument named, and an independent model of
// the sample block it must write.
#ifndef ORVENDA_TESTS_ENGINE_CONVERSION_TEST_SUPPORT_H
#define ORVENDA_TESTS_ENGINE_CONVERSION_TEST_SUPPORT_H

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "engine/conversion.h"
#include "tests/engine/engine_test_support.h"

namespace halvik::test {

struct Call {
    std::string iPath;
    std::string qPath;
    int32_t dataType = 0;
    int32_t fileKind = 0;
    std::array<MarkerPoint, HALVIK_MARKER_LIST_ENTRIES> marker1{};
    std::array<MarkerPoint, HALVIK_MARKER_LIST_ENTRIES> marker2{};
    int32_t sampleCount = 0;
    double peak = 1.0;
    ConversionSettings settings = quietSettings();
    std::string outPath;
    int32_t threads = 0;
    bool reference = false;

    int32_t run() const {
        ConversionRequest request;
        request.iPath = iPath;
        request.qPath = qPath;
        request.inputDataType = dataType;
        request.inputFileKind = fileKind;
        request.marker1 = marker1.data();
        request.marker2 = marker2.data();
        request.sampleCount = sampleCount;
        request.peakValue = peak;
        request.settings = &settings;
        request.outPath = outPath;
        request.threads = threads;
        request.reference = reference;
        return convert(request);
    }
};

// The words of the whole waveform, as the file's rules describe them: blocks
// of 1024 samples, the divisor grown by 1e-12 before each block, markers in
// word A, channels swapped when inverted.
inline std::vector<uint32_t> expectedWords(const std::vector<double>& i, const std::vector<double>& q, double peak,
                                           double gain, const std::vector<int>& m1, const std::vector<int>& m2,
                                           bool inverted) {
    std::vector<uint32_t> words;
    double divisor = peak;
    for (std::size_t k = 0; k < i.size(); ++k) {
        if (k % 1024 == 0) divisor += 1e-12;
        double a = inverted ? q[k] : i[k];
        double b = inverted ? i[k] : q[k];
        uint32_t markers = (m1.empty() ? 0u : 16384u * static_cast<uint32_t>(m1[k] & 1)) +
                           (m2.empty() ? 0u : 32768u * static_cast<uint32_t>(m2[k] & 1));
        words.push_back(expectedCode(a, divisor, gain) + markers);
        words.push_back(expectedCode(b, divisor, gain));
    }
    return words;
}

// Two-column text that reads back as exactly these values.
inline std::string twoColumnText(const std::vector<double>& i, const std::vector<double>& q) {
    std::string text;
    char line[96];
    for (std::size_t k = 0; k < i.size(); ++k) {
        std::snprintf(line, sizeof line, "%.17g,%.17g\n", i[k], q[k]);
        text += line;
    }
    return text;
}

}  // namespace halvik::test

#endif
