// Conversion to an intermediate frequency, checked against a direct
// evaluation of the carrier formulas sample by sample.
#include <cmath>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "engine/if_conversion.h"
#include "tests/engine/conversion_test_support.h"

namespace halvik {
namespace {

struct Samples {
    std::vector<double> i, q;
};

// The carrier written out from its definition: phase k * step with
// step = (f * 6.28318530717958) / fs; real form I' = cI + sQ, Q' = 0;
// shift form I' = cI - sQ, Q' = cQ + sI.
Samples referenceIf(const Samples& in, double f, double fs, bool shift) {
    // Called through pointers so the compiler cannot merge them into one
    // sincos call: the engine's results must equal the two functions'.
    double (*volatile cosine)(double) = std::cos;
    double (*volatile sine)(double) = std::sin;
    const double step = (f * 6.28318530717958) / fs;
    Samples out = in;
    for (std::size_t k = 0; k < in.i.size(); ++k) {
        const double t = static_cast<double>(k) * step;
        const double c = cosine(t);
        const double s = sine(t);
        if (shift) {
            out.i[k] = c * in.i[k] - s * in.q[k];
            out.q[k] = c * in.q[k] + s * in.i[k];
        } else {
            out.i[k] = c * in.i[k] + s * in.q[k];
            out.q[k] = 0.0;
        }
    }
    return out;
}

Samples randomSamples(std::size_t count, unsigned seed) {
    std::mt19937 generator(seed);
    std::uniform_real_distribution<float> value(-1.0f, 1.0f);
    Samples s;
    for (std::size_t k = 0; k < count; ++k) {
        s.i.push_back(value(generator));
        s.q.push_back(value(generator));
    }
    return s;
}

// Converts in pieces of the given length, as the engine's blocks do.
Samples convertInPieces(Samples s, double f, double fs, int32_t mode, std::size_t piece) {
    for (std::size_t first = 0; first < s.i.size(); first += piece) {
        std::size_t length = std::min(piece, s.i.size() - first);
        convertToIf(s.i.data() + first, s.q.data() + first, length, static_cast<int64_t>(first), phaseStep(f, fs),
                    mode);
    }
    return s;
}

TEST(IfConversion, BothFormsMatchTheFormulasExactlyAcrossBlocks) {
    Samples in = randomSamples(3000, 7);
    for (int32_t mode : {0, 1, -3}) {
        for (std::size_t piece : {std::size_t{1024}, std::size_t{1}, std::size_t{3000}}) {
            SCOPED_TRACE(testing::Message() << "mode " << mode << " piece " << piece);
            Samples got = convertInPieces(in, 1.234567e6, 20e6, mode, piece);
            Samples want = referenceIf(in, 1.234567e6, 20e6, mode != 0);
            EXPECT_EQ(got.i, want.i);
            EXPECT_EQ(got.q, want.q);
        }
    }
}

TEST(IfConversion, PhaseStepUsesTheTruncatedConstantMultiplicationFirst) {
    EXPECT_EQ(phaseStep(1e6, 3e6), (1e6 * 6.28318530717958) / 3e6);
    EXPECT_NE(phaseStep(1.0, 1.0), 2.0 * M_PI);
}

TEST(IfConversion, ZeroFrequencyKeepsTheSamples) {
    Samples in = randomSamples(10, 3);
    Samples real = convertInPieces(in, 0.0, 1e6, 0, 1024);
    Samples shift = convertInPieces(in, 0.0, 1e6, 1, 1024);
    EXPECT_EQ(real.i, in.i);
    EXPECT_EQ(real.q, std::vector<double>(10, 0.0));
    EXPECT_EQ(shift.i, in.i);
    EXPECT_EQ(shift.q, in.q);
}

TEST(IfConversion, QuarterRateRealFormInterleavesTheChannels) {
    Samples in{{1, 2, 3, 4, 5, 6}, {10, 20, 30, 40, 50, 60}};
    Samples out = convertInPieces(in, 1e6, 4e6, 0, 1024);
    const std::vector<double> expected{1, 20, -3, -40, 5, 60};
    for (std::size_t k = 0; k < expected.size(); ++k) EXPECT_NEAR(out.i[k], expected[k], 1e-12) << k;
}

TEST(IfConversion, QuarterRateShiftTurnsAConstantAround) {
    Samples in{{1, 1, 1, 1}, {0, 0, 0, 0}};
    Samples out = convertInPieces(in, 1e6, 4e6, 1, 1024);
    const double wantI[] = {1, 0, -1, 0};
    const double wantQ[] = {0, 1, 0, -1};
    for (std::size_t k = 0; k < 4; ++k) {
        EXPECT_NEAR(out.i[k], wantI[k], 1e-13);
        EXPECT_NEAR(out.q[k], wantQ[k], 1e-13);
    }
}

double peakOf(const Samples& s, bool withQ) {
    double peak = 0.0;
    for (std::size_t k = 0; k < s.i.size(); ++k) {
        peak = std::max(peak, std::fabs(s.i[k]));
        if (withQ) peak = std::max(peak, std::fabs(s.q[k]));
    }
    return peak;
}

class IfFile : public ::testing::TestWithParam<int32_t> {};

TEST_P(IfFile, ScansThePeakThenWritesTheScaledCarrier) {
    const int32_t mode = GetParam();
    const bool shift = mode != 0;
    Samples in = randomSamples(2049, 11);
    std::vector<float> pairs;
    for (std::size_t k = 0; k < in.i.size(); ++k) {
        pairs.push_back(static_cast<float>(in.i[k]));
        pairs.push_back(static_cast<float>(in.q[k]));
    }
    test::ScratchDir dir;
    test::writeFile(dir.file("iq.bin"), test::bytesOf(pairs));
    test::Call call;
    call.iPath = dir.file("iq.bin");
    call.dataType = 3;
    call.fileKind = 4;
    call.sampleCount = 2049;
    call.settings.IFConvert = 1;
    call.settings.IFMode = mode;
    call.settings.Fs = 10e6;
    call.settings.IFFreq = 2.5e6 + 1234.5;
    call.settings.AWGGain = 0.8;
    call.settings.MarkerFlags = HALVIK_MARKER_1_LINE;
    call.settings.IQInv = shift ? 0 : 1;
    call.marker1[0] = {1000, 1};
    call.outPath = dir.file("out.awv");

    Samples converted = referenceIf(in, call.settings.IFFreq, call.settings.Fs, shift);
    std::vector<int> m1(2049, 0);
    for (std::size_t k = 1000; k < m1.size(); ++k) m1[k] = 1;
    std::string expected =
        "{SAMPLINGFREQ:10000000.000000}\n{MARKER1:ON;POS;0;1024;1024;1}\n" +
        test::waveData(test::expectedWords(converted.i, converted.q, peakOf(converted, shift), 0.8, m1, {}, !shift));
    for (double passedPeak : {0.0, 123.0}) {
        call.peak = passedPeak;  // the scan pass measures the divisor itself
        ASSERT_EQ(call.run(), 0);
        EXPECT_EQ(test::withoutDateLine(test::readFile(call.outPath)), expected);
    }
}

INSTANTIATE_TEST_SUITE_P(Modes, IfFile, ::testing::Values(0, 1, -1));

TEST(IfFile, RealFormLeavesEveryQWordAtZeroCode) {
    test::ScratchDir dir;
    test::writeFile(dir.file("i.txt"), "0.5\n-1\n0.25\n1\n");
    test::writeFile(dir.file("q.txt"), "1\n0.5\n-0.5\n-1\n");
    test::Call call;
    call.iPath = dir.file("i.txt");
    call.qPath = dir.file("q.txt");
    call.fileKind = 3;
    call.sampleCount = 4;
    call.settings.IFConvert = 1;
    call.settings.Fs = 1.0;
    call.settings.IFFreq = 0.1;
    call.outPath = dir.file("out.awv");
    ASSERT_EQ(call.run(), 0);
    std::string record = test::dataRecordOf(test::readFile(call.outPath));
    for (std::size_t k = 0; k < 4; ++k) {
        EXPECT_EQ(record.substr(std::string("{WAVEDATA:32;").size() + 8 * k + 4, 4), test::wordBytes({8192}));
    }
}

}  // namespace
}  // namespace halvik
