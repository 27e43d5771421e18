// The analysis of what a conversion writes, against closed forms: a tone
// through the engine's own code path, and the quantization noise of 14-bit
// truncated codes.
#include <cmath>
#include <numbers>

#include <gtest/gtest.h>

#include "core/analysis/conversion_source.h"
#include "core/analysis/signal_analysis.h"
#include "tests/analysis/signal_sources.h"
#include "tests/engine/engine_test_support.h"

namespace orvenda::analysis {
namespace {

using halvik::test::ScratchDir;

// A complex tone, `cycles` per 4096 samples, amplitude 1 (the peak), as float pairs.
std::string toneFile(const ScratchDir& dir, int32_t count, double cycles, bool complex) {
    std::vector<float> iq;
    for (int32_t k = 0; k < count; ++k) {
        const double phase = 2 * std::numbers::pi * cycles * k / 4096.0;
        iq.push_back(static_cast<float>(std::cos(phase)));
        iq.push_back(complex ? static_cast<float>(std::sin(phase)) : 0.0f);
    }
    const std::string path = dir.file("tone.bin");
    halvik::test::writeFile(path, halvik::test::bytesOf(iq));
    return path;
}

ConversionInput floatInput(const std::string& path, int32_t count) {
    ConversionInput input;
    input.arguments.iPath = path;
    input.arguments.inputDataType = HALVIK_TYPE_FLOAT_PAIRS;
    input.arguments.inputFileKind = HALVIK_KIND_IQ_FILE;
    input.arguments.sampleCount = count;
    input.arguments.peakValue = 1.0;
    input.arguments.settings = halvik::test::quietSettings();
    input.arguments.settings.Fs = 8.192e6;
    return input;
}

TEST(ConversionLevels, FullScaleComplexToneThroughTheEngine) {
    ScratchDir dir;
    const int32_t count = 1 << 18;
    ConversionOpenResult opened = ConversionSampleSource::open(floatInput(toneFile(dir, count, 100, true), count));
    ASSERT_TRUE(opened.status.done()) << opened.status.error;
    AnalysisSettings settings;
    settings.spectrum.fftSize = 4096;
    AnalysisResult result = analyse(*opened.source, settings);
    ASSERT_TRUE(result.status.done()) << result.status.error;
    EXPECT_EQ(levelReportLines(result.levels)[2], "PAPR  0.00 dB");
    const auto peak = std::max_element(result.spectrum.powerDbfs.begin(), result.spectrum.powerDbfs.end());
    const auto bin = static_cast<std::size_t>(peak - result.spectrum.powerDbfs.begin());
    EXPECT_DOUBLE_EQ(result.spectrum.frequencyHz[bin], 100 * 8.192e6 / 4096);
    EXPECT_NEAR(*peak, 0.0, 0.01);
    // The divisor grows just past the peak: +1 truncates to 8190, but -1
    // gives 1.0000001 before truncation, code 1, negative full scale.
    EXPECT_GT(result.levels.fullScaleSamples, 0u);
}

TEST(ConversionLevels, TruncationNoiseOfFourteenBitCodes) {
    // Truncation leaves an error uniform in (-1, 0] code per component:
    // 1/3 code^2 each, so SQNR = mean |exact|^2 / (2/3). A tone off the bin
    // grid visits enough phases for the error to be uniform.
    ScratchDir dir;
    const int32_t count = 1 << 18;
    ConversionOpenResult opened = ConversionSampleSource::open(floatInput(toneFile(dir, count, 100.37, true), count));
    ASSERT_TRUE(opened.status.done()) << opened.status.error;
    AnalysisResult result = analyseLevels(*opened.source);
    ASSERT_TRUE(result.levels.sqnrDb.has_value());
    EXPECT_NEAR(*result.levels.sqnrDb, 10 * std::log10(8191.0 * 8191.0 / (2.0 / 3.0)), 0.05);
}

TEST(ConversionLevels, GainAndRealIfShowInTheLevels) {
    ScratchDir dir;
    const int32_t count = 1 << 16;
    ConversionInput input = floatInput(toneFile(dir, count, 64, false), count);
    input.arguments.settings.AWGGain = 0.5;
    ConversionOpenResult baseband = ConversionSampleSource::open(input);
    ASSERT_TRUE(baseband.status.done());
    AnalysisResult half = analyseLevels(*baseband.source);
    EXPECT_NEAR(half.levels.peakDbfs, 20 * std::log10(0.5), 0.01);
    EXPECT_NEAR(half.levels.paprDb, 10 * std::log10(2.0), 0.01);  // real tone

    // A real IF of a constant: a full-scale real carrier, Q 0, PAPR 3.01 dB.
    std::vector<float> dc(2 * count, 0.0f);
    for (int32_t k = 0; k < count; ++k) dc[2 * k] = 1.0f;
    halvik::test::writeFile(input.arguments.iPath, halvik::test::bytesOf(dc));
    input.arguments.settings.AWGGain = 1.0;
    input.arguments.settings.IFConvert = 1;
    input.arguments.settings.IFMode = 0;
    input.arguments.settings.IFFreq = 1e6;
    ConversionOpenResult carrier = ConversionSampleSource::open(input);
    ASSERT_TRUE(carrier.status.done());
    EXPECT_FALSE(carrier.source->isComplex());
    EXPECT_NEAR(carrier.source->startingPeak(), 1.0, 1e-6);  // the scan pass's peak
    AnalysisResult real = analyseLevels(*carrier.source);
    EXPECT_EQ(levelReportLines(real.levels)[2], "PAPR  3.01 dB");
}

TEST(ConversionLevels, EmptyAndClampedRanges) {
    auto empty = test::tone(0, 1, 8, true);
    AnalysisResult none = analyse(empty, AnalysisSettings{});
    ASSERT_TRUE(none.status.done());
    EXPECT_EQ(none.levels.samples, 0u);
    EXPECT_TRUE(std::isinf(none.levels.peakDbfs));
    EXPECT_EQ(none.spectrum.segments, 0u);
    EXPECT_EQ(levelReportLines(none.levels)[2], "PAPR  - dB");

    auto tone = test::tone(10'000, 1, 100, true);
    AnalysisResult clamped = analyseRange(tone, 9'000, 50'000, AnalysisSettings{});
    ASSERT_TRUE(clamped.status.done());
    EXPECT_EQ(clamped.end, 10'000u);
    EXPECT_EQ(clamped.levels.samples, 1'000u);
    SampleBlock block;
    std::string error;
    EXPECT_FALSE(readSamples(tone, 9'999, 2, block, &error));
    EXPECT_FALSE(error.empty());
}

}  // namespace
}  // namespace orvenda::analysis
