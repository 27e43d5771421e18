// The in-memory writer: its header vocabulary and order, the values that
// stop it, and its sample words.
#include <cmath>
#include <functional>
#include <limits>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engine/memory_waveform.h"
#include "tests/engine/engine_test_support.h"

namespace halvik {
namespace {

using test::readFile;
using test::ScratchDir;
using test::waveData;

struct MemoryHeaderRow {
    const char* name;
    std::function<void(MemoryWaveformSettings&)> set;
    std::string lines;
};

// Rows are named in test output by their name, not by a dump of their bytes.
void PrintTo(const MemoryHeaderRow& row, std::ostream* os) { *os << row.name; }

class MemoryHeader : public ::testing::TestWithParam<MemoryHeaderRow> {};

TEST_P(MemoryHeader, IsWrittenExactly) {
    ScratchDir dir;
    MemoryWaveformSettings settings;
    GetParam().set(settings);
    ASSERT_EQ(writeMemoryWaveform({}, settings, dir.file("out.awv")), 0);
    EXPECT_EQ(readFile(dir.file("out.awv")), GetParam().lines + "{WAVEDATA:0;}");
}

INSTANTIATE_TEST_SUITE_P(
    Rows, MemoryHeader,
    ::testing::Values(
        MemoryHeaderRow{"Nothing", [](MemoryWaveformSettings&) {}, ""},
        MemoryHeaderRow{"Filter", [](MemoryWaveformSettings& s) { s.iqFilter = 1; }, "{IQFILTER:FLT50M}\n"},
        MemoryHeaderRow{"GainWithoutQTest",
                        [](MemoryWaveformSettings& s) {
                            s.iGain = 1.5;
                            s.qGain = -255.0;
                        },
                        "{IQGAIN:1.500000;-255.000000}\n"},
        MemoryHeaderRow{"NoGainLine", [](MemoryWaveformSettings& s) { s.qGain = 2.0; }, ""},
        MemoryHeaderRow{"Offsets",
                        [](MemoryWaveformSettings& s) {
                            s.iOffset = -0.25;
                            s.qOffset = 0.125;
                        },
                        "{IQOFFSET:-0.250000;0.125000}\n"},
        MemoryHeaderRow{"ModeSeq", [](MemoryWaveformSettings& s) { s.markerMode = 32; }, "{MARKERMODE:SEQ}\n"},
        MemoryHeaderRow{"ModeWfm", [](MemoryWaveformSettings& s) { s.markerMode = 64; }, "{MARKERMODE:WFM}\n"},
        MemoryHeaderRow{"Marker1OnNeg",
                        [](MemoryWaveformSettings& s) {
                            s.marker1 = {1, 1, {1, -2, 3, 4}};
                        },
                        "{MARKER1:ON;NEG;1;-2;3;4}\n"},
        MemoryHeaderRow{"Marker2OffPos",
                        [](MemoryWaveformSettings& s) {
                            s.marker2 = {0, 0, {0, 0, 0, 0}};
                        },
                        "{MARKER2:OFF;POS;0;0;0;0}\n"},
        MemoryHeaderRow{"InternalNegative",
                        [](MemoryWaveformSettings& s) {
                            s.startTrigger = 0;
                            s.triggerPolarity = 1;
                        },
                        "{STARTTRIGGER:INT;NEG}\n"},
        MemoryHeaderRow{"LinkPositive", [](MemoryWaveformSettings& s) { s.startTrigger = 1; },
                        "{STARTTRIGGER:LINK;POS}\n"},
        MemoryHeaderRow{"SingleRun",
                        [](MemoryWaveformSettings& s) {
                            s.outputSequence = 1;
                            s.sequenceParam = 5;
                        },
                        "{OUTPUTSEQUENCE:SINGLE;5}\n"},
        MemoryHeaderRow{"GateLevel",
                        [](MemoryWaveformSettings& s) {
                            s.outputSequence = 2;
                            s.sequenceParam = 1;
                        },
                        "{OUTPUTSEQUENCE:GATE;LEV}\n"},
        MemoryHeaderRow{"Frequency", [](MemoryWaveformSettings& s) { s.fs = 100e6; },
                        "{SAMPLINGFREQ:100000000.000000}\n"},
        MemoryHeaderRow{"OutputOff", [](MemoryWaveformSettings& s) { s.iqOutput = 2; }, "{IQOUTPUT:OFF}\n"},
        MemoryHeaderRow{"AllInOrder",
                        [](MemoryWaveformSettings& s) {
                            s.iqFilter = 2;
                            s.iGain = 1;
                            s.qGain = 1;
                            s.iOffset = 0;
                            s.qOffset = 0;
                            s.markerMode = 64;
                            s.marker1 = {1, 0, {1, 2, 3, 4}};
                            s.marker2 = {0, 1, {5, 6, 7, 8}};
                            s.startTrigger = 1;
                            s.triggerPolarity = 1;
                            s.outputSequence = 0;
                            s.fs = 1.0;
                            s.iqOutput = 0;
                        },
                        "{IQFILTER:THR}\n{IQGAIN:1.000000;1.000000}\n{IQOFFSET:0.000000;0.000000}\n"
                        "{MARKERMODE:WFM}\n{MARKER1:ON;POS;1;2;3;4}\n{MARKER2:OFF;NEG;5;6;7;8}\n"
                        "{STARTTRIGGER:LINK;NEG}\n{OUTPUTSEQUENCE:CONT}\n{SAMPLINGFREQ:1.000000}\n"
                        "{IQOUTPUT:FIX}\n"}),
    test::RowName());

struct MemoryInvalidRow {
    const char* name;
    std::function<void(MemoryWaveformSettings&)> set;
};

// Rows are named in test output by their name, not by a dump of their bytes.
void PrintTo(const MemoryInvalidRow& row, std::ostream* os) { *os << row.name; }

class MemoryInvalid : public ::testing::TestWithParam<MemoryInvalidRow> {};

TEST_P(MemoryInvalid, FailsAndLeavesTheOutputAsItWas) {
    ScratchDir dir;
    MemoryWaveformSettings settings;
    GetParam().set(settings);
    EXPECT_EQ(writeMemoryWaveform({}, settings, dir.file("out.awv")), -1);
    EXPECT_TRUE(dir.entries().empty());
    test::writeFile(dir.file("out.awv"), "previous");
    EXPECT_EQ(writeMemoryWaveform({}, settings, dir.file("out.awv")), -1);
    EXPECT_EQ(readFile(dir.file("out.awv")), "previous");
    EXPECT_EQ(dir.entries().size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, MemoryInvalid,
    ::testing::Values(MemoryInvalidRow{"FilterMinusOne", [](MemoryWaveformSettings& s) { s.iqFilter = -1; }},
                      MemoryInvalidRow{"Filter3", [](MemoryWaveformSettings& s) { s.iqFilter = 3; }},
                      MemoryInvalidRow{"Mode48", [](MemoryWaveformSettings& s) { s.markerMode = 48; }},
                      MemoryInvalidRow{"Marker1State2", [](MemoryWaveformSettings& s) { s.marker1.state = 2; }},
                      MemoryInvalidRow{"Marker2Polarity2",
                                       [](MemoryWaveformSettings& s) {
                                           s.marker2 = {1, 2, {}};
                                       }},
                      MemoryInvalidRow{"Trigger2", [](MemoryWaveformSettings& s) { s.startTrigger = 2; }},
                      MemoryInvalidRow{"TriggerPolarityMinus1",
                                       [](MemoryWaveformSettings& s) {
                                           s.startTrigger = 0;
                                           s.triggerPolarity = -1;
                                       }},
                      MemoryInvalidRow{"Sequence3", [](MemoryWaveformSettings& s) { s.outputSequence = 3; }},
                      MemoryInvalidRow{"Gate2",
                                       [](MemoryWaveformSettings& s) {
                                           s.outputSequence = 2;
                                           s.sequenceParam = 2;
                                       }},
                      MemoryInvalidRow{"Output3", [](MemoryWaveformSettings& s) { s.iqOutput = 3; }},
                      MemoryInvalidRow{"GainAboveOne", [](MemoryWaveformSettings& s) { s.awgGain = 1.5; }},
                      MemoryInvalidRow{"GainNaN", [](MemoryWaveformSettings& s) { s.awgGain = std::nan(""); }}),
    test::RowName());

TEST(MemorySamples, ScaleByThePeakOfAllValues) {
    ScratchDir dir;
    std::vector<float> iq{2.0f, -1.0f, -2.0f, 0.5f};
    std::vector<int16_t> m1{3, 2};
    std::vector<int16_t> m2{0, -1};
    MemoryWaveformSettings settings;
    settings.awgGain = 0.5;
    settings.markerMode = 64;
    ASSERT_EQ(writeMemoryWaveform({iq.data(), m1.data(), m2.data(), 2}, settings, dir.file("out.awv")), 0);
    EXPECT_EQ(readFile(dir.file("out.awv")),
              "{MARKERMODE:WFM}\n" + waveData({12287 + 16384, test::expectedCode(-1.0, 2.0, 0.5), 4096 + 32768,
                                               test::expectedCode(0.5, 2.0, 0.5)}));
    settings.markerMode = 32;
    settings.iqInv = 1;
    ASSERT_EQ(writeMemoryWaveform({iq.data(), m1.data(), m2.data(), 2}, settings, dir.file("out.awv")), 0);
    EXPECT_EQ(readFile(dir.file("out.awv")),
              "{MARKERMODE:SEQ}\n" +
                  waveData({test::expectedCode(-1.0, 2.0, 0.5), 12287, test::expectedCode(0.5, 2.0, 0.5), 4096}));
}

TEST(MemorySamples, ManySamplesMatchTheFormulaWordForWord) {
    std::mt19937 generator(5);
    std::uniform_real_distribution<float> value(-3.0f, 3.0f);
    std::vector<float> iq(2 * 10000);
    std::vector<int16_t> m1(10000), m2(10000);
    for (auto& v : iq) v = value(generator);
    iq[777] = -3.5f;  // the peak
    for (std::size_t k = 0; k < m1.size(); ++k) {
        m1[k] = static_cast<int16_t>(generator());
        m2[k] = static_cast<int16_t>(generator());
    }
    std::vector<uint32_t> words;
    for (std::size_t k = 0; k < m1.size(); ++k) {
        words.push_back(test::expectedCode(iq[2 * k], 3.5, 0.9) + 16384u * (m1[k] & 1) + 32768u * (m2[k] & 1));
        words.push_back(test::expectedCode(iq[2 * k + 1], 3.5, 0.9));
    }
    ScratchDir dir;
    MemoryWaveformSettings settings;
    settings.awgGain = 0.9;
    settings.markerMode = 64;
    ASSERT_EQ(writeMemoryWaveform({iq.data(), m1.data(), m2.data(), 10000}, settings, dir.file("out.awv")), 0);
    EXPECT_EQ(readFile(dir.file("out.awv")), "{MARKERMODE:WFM}\n" + waveData(words));
}

TEST(MemorySamples, AllZeroDataWritesTheZeroCode) {
    ScratchDir dir;
    const float nan = std::numeric_limits<float>::quiet_NaN();
    std::vector<float> iq{0.0f, -0.0f, nan, std::numeric_limits<float>::infinity()};
    std::vector<int16_t> m1{1, 0};
    MemoryWaveformSettings settings;
    settings.markerMode = 64;
    ASSERT_EQ(writeMemoryWaveform({iq.data(), m1.data(), nullptr, 2}, settings, dir.file("out.awv")), 0);
    EXPECT_EQ(readFile(dir.file("out.awv")), "{MARKERMODE:WFM}\n" + waveData({8192 + 16384, 8192, 8192, 8192}));
}

TEST(MemorySamples, NonFiniteValuesCountAsZeroAndNeverSetThePeak) {
    ScratchDir dir;
    std::vector<float> iq{std::numeric_limits<float>::infinity(), 0.5f, -1.0f, std::nanf("")};
    ASSERT_EQ(writeMemoryWaveform({iq.data(), nullptr, nullptr, 2}, {}, dir.file("out.awv")), 0);
    EXPECT_EQ(readFile(dir.file("out.awv")), waveData({8192, test::expectedCode(0.5, 1.0, 1.0), 1, 8192}));
}

TEST(MemorySamples, BadCountsAndMissingDataFailWithoutAFile) {
    ScratchDir dir;
    std::vector<float> iq(8, 0.25f);
    EXPECT_EQ(writeMemoryWaveform({iq.data(), nullptr, nullptr, -1}, {}, dir.file("out.awv")), -1);
    EXPECT_EQ(writeMemoryWaveform({iq.data(), nullptr, nullptr, 268435456}, {}, dir.file("out.awv")), -1);
    EXPECT_EQ(writeMemoryWaveform({nullptr, nullptr, nullptr, 4}, {}, dir.file("out.awv")), -1);
    EXPECT_EQ(writeMemoryWaveform({iq.data(), nullptr, nullptr, 4}, {}, dir.file("missing/out.awv")), -1);
    EXPECT_TRUE(dir.entries().empty());
    EXPECT_EQ(writeMemoryWaveform({nullptr, nullptr, nullptr, 0}, {}, dir.file("out.awv")), 0);
}

}  // namespace
}  // namespace halvik
