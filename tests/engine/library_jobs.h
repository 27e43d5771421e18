// A mix of calls of the three exports, as outside callers make them: text and
// binary inputs, baseband and both IF forms, markers on, every header number
// (gains, offsets, sampling frequency), and the in-memory writers. Each job
// writes to the path it is given, so the same job can run many times at once.
#ifndef ORVENDA_TESTS_ENGINE_LIBRARY_JOBS_H
#define ORVENDA_TESTS_ENGINE_LIBRARY_JOBS_H

#include <cmath>
#include <cstdint>
#include <functional>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "common/halvik_api.h"
#include "tests/engine/engine_test_support.h"

namespace halvik::test {

struct LibraryJob {
    std::string name;
    std::function<int32_t(const std::string& outPath)> run;
};

// Inputs of 2500 samples (three blocks) written into `dir`, which must
// outlive the jobs.
inline std::vector<LibraryJob> libraryJobs(const ScratchDir& dir) {
    constexpr int kSamples = 2500;
    std::ostringstream twoColumns, iColumn, qColumn;
    std::vector<float> floats;
    std::vector<int16_t> shorts;
    for (int n = 0; n < kSamples; ++n) {
        const double i = 0.8 * std::sin(0.013 * n);
        const double q = 0.6 * std::cos(0.029 * n) - 0.1;
        twoColumns << i << ",\t" << q << "\n";  // "0.123456": decimal points
        iColumn << i * 1000.0 << "\n";
        qColumn << q * 1e-3 << "\n";  // exponents too: "1.2e-05"
        floats.push_back(static_cast<float>(i));
        floats.push_back(static_cast<float>(q));
        shorts.push_back(static_cast<int16_t>(std::lround(i * 32767.0)));
        shorts.push_back(static_cast<int16_t>(std::lround(q * 32767.0)));
    }
    const std::string text = dir.file("iq.txt"), iText = dir.file("i.txt"), qText = dir.file("q.txt");
    const std::string floatFile = dir.file("iq.float"), shortFile = dir.file("iq.short");
    writeFile(text, twoColumns.str());
    writeFile(iText, iColumn.str());
    writeFile(qText, qColumn.str());
    writeFile(floatFile, bytesOf(floats));
    writeFile(shortFile, bytesOf(shorts));

    auto markers = std::make_shared<std::vector<MarkerPoint>>(2 * 1001, MarkerPoint{0, 0});
    (*markers)[0] = {0, 1};
    (*markers)[1] = {100, 0};
    (*markers)[2] = {1500, 1};
    (*markers)[1001] = {7, 1};
    (*markers)[1002] = {2048, 0};

    ConversionSettings all = quietSettings();
    all.Fs = 61.44e6;
    all.AWGGain = 0.75;
    all.IQFilter = 1;
    all.MarkerFlags = 0x47;
    all.StartTrigger = 0;
    all.OutputSequence = 1;
    all.LoopNum = 3;
    all.IQOutput = 1;
    all.IOutputGain = 1500;
    all.QOutputGain = 205;
    all.IQOffset = 0;
    all.IOffset = -35;
    all.QOffset = 750;

    auto conversion = [=](std::string input, std::string qInput, int32_t type, int32_t kind,
                          std::function<void(ConversionSettings&)> adjust, double peak) {
        return [=](const std::string& out) {
            ConversionSettings s = all;
            adjust(s);
            const MarkerPoint* marker1 = markers->data();
            return Halvik(input.c_str(), qInput.c_str(), type, kind, marker1, marker1 + 1001, kSamples, peak, &s,
                          out.c_str());
        };
    };
    auto memory = [=](bool twin) {
        return [=](const std::string& out) {
            std::vector<int16_t> levels(kSamples);
            for (int n = 0; n < kSamples; ++n) levels[n] = static_cast<int16_t>((n / 300) % 2);
            auto entry = twin ? HalvikMainVB : HalvikMain;
            return entry(floats.data(), levels.data(), levels.data(), kSamples, out.c_str(), 0.75, 1.25, -0.035, 0.2,
                         12.5e6, 0.5, 2, 64, 1, 0, 0, 1250, 1250, 1, 0, 1, 7, 8, 9, 10, 1, 1, 2, 1, 1, 1);
        };
    };

    return {
        {"TextBaseband", conversion(
                             text, "", HALVIK_TYPE_TEXT, HALVIK_KIND_IQ_FILE, [](ConversionSettings&) {}, 0.8)},
        {"TextRealIf", conversion(
                           text, "", HALVIK_TYPE_TEXT, HALVIK_KIND_IQ_FILE,
                           [](ConversionSettings& s) {
                               s.IFConvert = 1;
                               s.IFFreq = 21.4e6;
                           },
                           0.0)},
        {"SingleColumnTexts", conversion(
                                  iText, qText, 0, HALVIK_KIND_I_FILE | HALVIK_KIND_Q_FILE,
                                  [](ConversionSettings& s) { s.IQInv = 1; }, 800.0)},
        {"FloatFrequencyShift", conversion(
                                    floatFile, "", HALVIK_TYPE_FLOAT_PAIRS, HALVIK_KIND_IQ_FILE,
                                    [](ConversionSettings& s) {
                                        s.IFConvert = 1;
                                        s.IFMode = 1;
                                        s.IFFreq = -3.3e6;
                                        s.IQInv = 1;
                                    },
                                    0.0)},
        {"ShortBasebandGated", conversion(
                                   shortFile, "", HALVIK_TYPE_INT16_PAIRS, HALVIK_KIND_IQ_FILE,
                                   [](ConversionSettings& s) {
                                       s.StartTrigger = 1;
                                       s.TriggerPolarity = 1;
                                       s.OutputSequence = 2;
                                       s.GateMode = 1;
                                       s.MarkerFlags = 0x26;
                                   },
                                   32767.0)},
        {"HalvikMain", memory(false)},
        {"HalvikMainVB", memory(true)},
    };
}

// Two waveform files alike apart from the DATE line (the clock): the header
// texts are compared as text, the sample blocks without printing their bytes.
inline void expectSameWaveform(const std::string& actual, const std::string& expected) {
    auto body = [](const std::string& file) { return file.rfind("{DATE:", 0) == 0 ? withoutDateLine(file) : file; };
    const std::string a = body(actual), e = body(expected);
    const std::size_t aData = a.find("{WAVEDATA:"), eData = e.find("{WAVEDATA:");
    EXPECT_EQ(a.substr(0, aData), e.substr(0, eData));
    EXPECT_TRUE(aData != std::string::npos && eData != std::string::npos &&
                a.compare(aData, std::string::npos, e, eData) == 0)
        << "the sample blocks differ (" << a.size() << " and " << e.size() << " bytes)";
}

}  // namespace halvik::test

#endif
