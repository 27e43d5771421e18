// The analysis against closed forms: tones, Gaussian noise, 14-bit
// quantization, and the same numbers whether one or two threads run.
#include <algorithm>
#include <cmath>

#include <gtest/gtest.h>

#include "core/analysis/signal_analysis.h"
#include "tests/analysis/signal_sources.h"

namespace orvenda::analysis {
namespace {

using test::gaussianNoise;
using test::tone;

std::size_t peakIndex(const Spectrum& spectrum) {
    return static_cast<std::size_t>(std::max_element(spectrum.powerDbfs.begin(), spectrum.powerDbfs.end()) -
                                    spectrum.powerDbfs.begin());
}

TEST(ClosedForm, ComplexFullScaleToneHasNoCrestAndPeaksInItsBin) {
    const std::size_t n = 4096;
    auto source = tone(1 << 20, 300, n, true);  // 300 cycles per segment: bin 300
    AnalysisSettings settings;
    settings.spectrum.fftSize = n;
    AnalysisResult result = analyse(source, settings);
    ASSERT_TRUE(result.status.done());
    EXPECT_NEAR(result.levels.paprDb, 0.0, 0.005);
    EXPECT_NEAR(result.levels.peakDbfs, 0.0, 0.005);
    EXPECT_NEAR(result.levels.rmsDbfs, 0.0, 0.005);
    EXPECT_EQ(levelReportLines(result.levels)[2], "PAPR  0.00 dB");
    const Spectrum& s = result.spectrum;
    ASSERT_TRUE(s.centred);
    ASSERT_EQ(s.frequencyHz.size(), n);
    const std::size_t peak = peakIndex(s);
    EXPECT_DOUBLE_EQ(s.frequencyHz[peak], 300.0 * 1e6 / n);
    EXPECT_NEAR(s.powerDbfs[peak], 0.0, 0.01);                       // on a bin centre: the whole power
    EXPECT_NEAR(s.powerDbfs[peak + 1], 20 * std::log10(0.5), 0.01);  // Hann's neighbours hold a quarter
    EXPECT_LT(s.powerDbfs[peak + 3], -80.0);
    // Welch segments: (length - n) / hop + 1.
    EXPECT_EQ(s.segments, ((1u << 20) - n) / (n / 2) + 1);
}

TEST(ClosedForm, NegativeFrequencyToneLandsLeftOfCentre) {
    auto source = tone(1 << 16, -100, 1024, true);
    AnalysisSettings settings;
    settings.spectrum.fftSize = 1024;
    Spectrum s = computeSpectrum(source, 0, source.size(), settings.spectrum);
    ASSERT_TRUE(s.status.done());
    EXPECT_DOUBLE_EQ(s.frequencyHz[peakIndex(s)], -100.0 * 1e6 / 1024);
    EXPECT_DOUBLE_EQ(s.frequencyHz.front(), -0.5e6);
}

TEST(ClosedForm, RealToneHasThreeDecibelsCrestAndAOneSidedSpectrum) {
    auto source = tone(1 << 20, 50, 2048, false);
    AnalysisSettings settings;
    settings.spectrum.fftSize = 2048;
    AnalysisResult result = analyse(source, settings);
    ASSERT_TRUE(result.status.done());
    EXPECT_NEAR(result.levels.paprDb, 10 * std::log10(2.0), 0.005);
    EXPECT_EQ(levelReportLines(result.levels)[2], "PAPR  3.01 dB");
    EXPECT_NEAR(result.levels.rmsDbfs, -10 * std::log10(2.0), 0.005);
    const Spectrum& s = result.spectrum;
    EXPECT_FALSE(s.centred);
    ASSERT_EQ(s.frequencyHz.size(), 2048u / 2 + 1);
    EXPECT_DOUBLE_EQ(s.frequencyHz[peakIndex(s)], 50.0 * 1e6 / 2048);
    EXPECT_NEAR(s.powerDbfs[peakIndex(s)], 20 * std::log10(0.5), 0.01);  // half the amplitude each side
    EXPECT_NEAR(result.ccdf.paprDb, result.levels.paprDb, 1e-9);
}

TEST(ClosedForm, GaussianNoiseFollowsTheReferenceCcdf) {
    auto source = gaussianNoise(std::uint64_t{1} << 22, 580.0);
    AnalysisResult result = analyse(source, AnalysisSettings{});
    ASSERT_TRUE(result.status.done());
    const Ccdf& c = result.ccdf;
    ASSERT_GT(c.relativePowerDb.size(), 10u);
    for (double p : {1e-1, 1e-2, 1e-3, 1e-4}) {
        const double db = 10 * std::log10(-std::log(p));  // where e^-x = p
        const auto k = static_cast<std::size_t>(db / kCcdfStepDb);
        ASSERT_LT(k + 1, c.probability.size());
        const double t = (db - c.relativePowerDb[k]) / kCcdfStepDb;
        const double measured = std::exp((1 - t) * std::log(c.probability[k]) + t * std::log(c.probability[k + 1]));
        EXPECT_NEAR(measured / p, 1.0, 0.15) << "at " << p;
        EXPECT_NEAR(gaussianCcdf(db), p, p * 1e-9);
    }
    EXPECT_NEAR(c.probability.front(), std::exp(-1.0), 0.01);  // P(power > mean)
    EXPECT_EQ(c.relativePowerDb.front(), 0.0);
    // White noise: every bin holds power / bins times the window's noise bandwidth.
    const double expectedBin = 10 * std::log10(std::pow(10.0, result.levels.rmsDbfs / 10) * 1.5 / 4096);
    double mean = 0.0;
    for (double db : result.spectrum.powerDbfs) mean += db;
    mean /= static_cast<double>(result.spectrum.powerDbfs.size());
    EXPECT_NEAR(mean, expectedBin, 0.1);  // 2047 segments averaged: the log of the mean is unbiased enough
    EXPECT_NEAR(result.levels.rmsDbfs, 20 * std::log10(580.0 * std::sqrt(2.0) / 8191), 0.05);
}

TEST(ClosedForm, TwoThreadsGiveTheNumbersOfOne) {
    auto source = gaussianNoise(1'000'003, 2000.0);
    AnalysisSettings one, two;
    one.threads = 1;
    one.overviewColumns = two.overviewColumns = 777;
    AnalysisResult a = analyse(source, one);
    AnalysisResult b = analyse(source, two);
    ASSERT_TRUE(a.status.done() && b.status.done());
    EXPECT_EQ(a.levels.samples, b.levels.samples);
    EXPECT_EQ(a.levels.peakDbfs, b.levels.peakDbfs);
    EXPECT_EQ(a.levels.rmsDbfs, b.levels.rmsDbfs);
    EXPECT_EQ(a.levels.fullScaleSamples, b.levels.fullScaleSamples);
    EXPECT_EQ(a.ccdf.probability, b.ccdf.probability);
    EXPECT_EQ(a.constellation.counts, b.constellation.counts);
    EXPECT_EQ(a.spectrum.segments, b.spectrum.segments);
    for (std::size_t k = 0; k < a.spectrum.powerDbfs.size(); ++k)
        ASSERT_NEAR(a.spectrum.powerDbfs[k], b.spectrum.powerDbfs[k], 1e-6) << k;
    ASSERT_EQ(a.overview.columns.size(), 777u);
    for (std::size_t c = 0; c < 777; ++c) {
        EXPECT_EQ(a.overview.columns[c].minI, b.overview.columns[c].minI);
        EXPECT_EQ(a.overview.columns[c].maxQ, b.overview.columns[c].maxQ);
        EXPECT_EQ(a.overview.columns[c].maxMagnitude, b.overview.columns[c].maxMagnitude);
    }
    // Same again: the merge order is fixed.
    AnalysisResult c = analyse(source, two);
    EXPECT_EQ(c.spectrum.powerDbfs, b.spectrum.powerDbfs);
}

TEST(ClosedForm, ConstellationCountsEverySampleInItsBin) {
    auto source = tone(4096, 1, 4, true, 4000.0);  // four points: (4000,0), (0,4000), (-4000,0), (0,-4000)
    AnalysisSettings settings;
    settings.spectrum.fftSize = 1024;
    settings.constellationBins = 64;
    AnalysisResult result = analyse(source, settings);
    ASSERT_TRUE(result.status.done());
    const Constellation& c = result.constellation;
    ASSERT_EQ(c.bins, 64u);
    auto at = [&](int i, int q) { return c.counts[Constellation::binOf(q, 64) * 64 + Constellation::binOf(i, 64)]; };
    EXPECT_EQ(at(4000, 0), 1024u);
    EXPECT_EQ(at(0, 4000), 1024u);
    EXPECT_EQ(at(-4000, 0), 1024u);
    EXPECT_EQ(at(0, -4000), 1024u);
    EXPECT_EQ(c.maxCount, 1024u);
    EXPECT_EQ(Constellation::binOf(-8192, 64), 0u);
    EXPECT_EQ(Constellation::binOf(8191, 64), 63u);
    EXPECT_DOUBLE_EQ(Constellation::binLowerEdge(32, 64), 0.0);
}

TEST(ClosedForm, ShortRangeGivesOneZeroPaddedSegment) {
    auto source = tone(5000, 10, 1024, true);
    AnalysisSettings settings;
    settings.spectrum.fftSize = 8192;
    Spectrum s = computeSpectrum(source, 100, 600, settings.spectrum);
    ASSERT_TRUE(s.status.done());
    EXPECT_EQ(s.segments, 1u);
    Spectrum bad = computeSpectrum(source, 0, 5000, SpectrumSettings{1000});
    EXPECT_EQ(bad.status.outcome, Outcome::Failed);
}

struct LinesRow {
    LevelReport report;
    std::vector<std::string> lines;
};

TEST(LevelReportText, TwoDecimalsPointAndInfinities) {
    const double inf = std::numeric_limits<double>::infinity();
    const LinesRow rows[] = {
        {{100, -0.001, -3.0103, 3.0093, 0, 0.0, std::nullopt},
         {"Peak  -0.00 dBFS", "RMS  -3.01 dBFS", "PAPR  3.01 dB", "Full scale  0.00 % (0 samples)"}},
        {{8, 0.0, -12.345, 12.345, 2, 0.25, 74.215},
         {"Peak  0.00 dBFS", "RMS  -12.35 dBFS", "PAPR  12.35 dB", "Full scale  25.00 % (2 samples)",
          "SQNR  74.22 dB"}},
        {{4, -inf, -inf, std::nan(""), 0, 0.0, inf},
         {"Peak  -inf dBFS", "RMS  -inf dBFS", "PAPR  - dB", "Full scale  0.00 % (0 samples)", "SQNR  inf dB"}},
    };
    for (const LinesRow& row : rows) EXPECT_EQ(levelReportLines(row.report), row.lines);
}

}  // namespace
}  // namespace orvenda::analysis
