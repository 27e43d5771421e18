// The waveform file reader on files the engine writes: both writers'
// vocabularies are accepted, the settings come back as they were passed,
// and the sample statistics are those worked out here from the input.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <vector>

#include "engine/awv_reader.h"
#include "engine/conversion.h"
#include "engine/memory_waveform.h"
#include "tests/cli/awv_test_files.h"
#include "tests/cli/program_run.h"

namespace orvenda::cli::test {
namespace {

using halvik::AwvSummary;

// 16-bit pairs: I cycles 32767, -32767, 0, 5; Q cycles -32767, 0, 32767, 7.
std::string cyclingPairs(int count) {
    const int16_t iCycle[] = {32767, -32767, 0, 5};
    const int16_t qCycle[] = {-32767, 0, 32767, 7};
    std::string bytes;
    for (int n = 0; n < count; ++n) {
        int16_t pair[2] = {iCycle[n % 4], qCycle[n % 4]};
        bytes.append(reinterpret_cast<const char*>(pair), sizeof pair);
    }
    return bytes;
}

ConversionSettings everyGroup() {
    ConversionSettings s{};
    s.Fs = 61.44e6;
    s.AWGGain = 1.0;
    s.IQFilter = 0;
    s.MarkerFlags = HALVIK_MARKER_1_LINE | HALVIK_MARKER_2_LINE | HALVIK_MARKER_MODE_WFM;
    s.StartTrigger = 1;
    s.TriggerPolarity = 1;
    s.OutputSequence = 1;
    s.LoopNum = 9;
    s.IQOutput = 1;
    s.IOutputGain = 1500;
    s.QOutputGain = 250;
    s.IQOffset = 0;
    s.IOffset = -35;
    s.QOffset = 40;
    return s;
}

class EngineFiles : public ::testing::Test {
protected:
    // Three blocks of the engine (1024, 1024, 1).
    static constexpr int kSamples = 2049;

    AwvSummary convertAndRead(const ConversionSettings& settings) {
        writeFile(scratch_.file("in.MNT"), cyclingPairs(kSamples));
        marker1_ = {{{0, 1}, {3, 0}, {10, 1}}};
        marker2_ = {{{5, 1}}};
        halvik::ConversionRequest request;
        request.iPath = scratch_.file("in.MNT");
        request.inputDataType = 2;
        request.inputFileKind = 4;
        request.marker1 = marker1_.data();
        request.marker2 = marker2_.data();
        request.sampleCount = kSamples;
        request.peakValue = 32767.0;
        request.settings = &settings;
        request.outPath = scratch_.file("out.awv");
        EXPECT_EQ(halvik::convert(request), 0);
        bytes_ = readFile(request.outPath);
        halvik::AwvReadResult result = halvik::readAwvFile(request.outPath);
        if (auto* error = std::get_if<halvik::AwvError>(&result)) {
            ADD_FAILURE() << error->describe();
            return {};
        }
        return std::get<AwvSummary>(result);
    }

    ScratchFolder scratch_;
    std::array<MarkerPoint, HALVIK_MARKER_ENTRIES_WALKED> marker1_{};
    std::array<MarkerPoint, HALVIK_MARKER_ENTRIES_WALKED> marker2_{};
    std::string bytes_;
};

TEST_F(EngineFiles, SettingsComeBackAsPassed) {
    AwvSummary s = convertAndRead(everyGroup());
    const halvik::AwvSettings& set = s.settings;
    EXPECT_TRUE(set.date && set.time);
    EXPECT_EQ(set.iqFilter, "FLT2_5M");
    EXPECT_EQ(set.iqOutput, "VAR");
    ASSERT_TRUE(set.iqGain && set.iqOffset && set.startTrigger && set.outputSequence && set.samplingFrequency);
    EXPECT_DOUBLE_EQ(set.iqGain->first, 1.5);
    EXPECT_DOUBLE_EQ(set.iqGain->second, 0.25);
    EXPECT_DOUBLE_EQ(set.iqOffset->first, -0.035);
    EXPECT_DOUBLE_EQ(set.iqOffset->second, 0.04);
    EXPECT_EQ(set.startTrigger->source, "LINK");
    EXPECT_EQ(set.startTrigger->polarity, "NEG");
    EXPECT_EQ(set.outputSequence->mode, "SINGL");
    EXPECT_EQ(set.outputSequence->loops, 9);
    EXPECT_DOUBLE_EQ(*set.samplingFrequency, 61.44e6);
    ASSERT_TRUE(set.marker1 && set.marker2);
    EXPECT_EQ(set.marker1->params, (std::array<int32_t, 4>{0, 1024, 1024, 1}));
    EXPECT_EQ(set.markerMode, "WFM");
    EXPECT_EQ(s.fileSize, bytes_.size());
}

TEST_F(EngineFiles, StatisticsFollowTheInput) {
    AwvSummary s = convertAndRead(everyGroup());
    EXPECT_EQ(s.sampleCount, 2049u);
    // Samples 0, 4, ... (513 of them) are at +full scale in I and -full scale in Q.
    EXPECT_EQ(s.wordA.minCode, 1u);
    EXPECT_EQ(s.wordA.maxCode, 16383u);
    EXPECT_EQ(s.wordA.atPositiveFullScale, 513u);
    EXPECT_EQ(s.wordA.atNegativeFullScale, 512u);
    EXPECT_EQ(s.wordB.atNegativeFullScale, 513u);
    EXPECT_EQ(s.wordB.atPositiveFullScale, 512u);
    EXPECT_EQ(s.wordA.wordsWithStrayBits, 0u);
    // Marker 1 low from 3 to 9; marker 2 high from 5.
    EXPECT_EQ(s.marker1.highSamples, 2049u - 7u);
    ASSERT_EQ(s.marker1.firstChanges.size(), 3u);
    EXPECT_EQ(s.marker1.firstChanges[1].sample, 3u);
    EXPECT_EQ(s.marker1.firstChanges[1].level, 0);
    EXPECT_EQ(s.marker1.firstChanges[2].sample, 10u);
    EXPECT_EQ(s.marker2.highSamples, 2044u);
    ASSERT_EQ(s.marker2.changeCount, 1u);
    EXPECT_EQ(s.marker2.firstChanges[0].sample, 5u);
}

TEST_F(EngineFiles, InversionSwapsTheWordsButNotTheMarkers) {
    ConversionSettings settings = everyGroup();
    settings.IQInv = 1;
    AwvSummary s = convertAndRead(settings);
    EXPECT_EQ(s.wordA.atNegativeFullScale, 513u);  // Q now rides in word A
    EXPECT_EQ(s.wordB.atPositiveFullScale, 513u);
    EXPECT_EQ(s.marker2.highSamples, 2044u);
}

TEST_F(EngineFiles, EveryCutOfAWrittenFileIsRejected) {
    convertAndRead(everyGroup());
    const std::string file = bytes_;
    const std::size_t block = file.find("{WAVEDATA:");
    ASSERT_NE(block, std::string::npos);
    // Cuts inside the header, at its end, inside the block and before "}".
    for (std::size_t length : {std::size_t{0}, std::size_t{5}, block, block + 7, block + 20, file.size() / 2,
                               file.size() - 8, file.size() - 1}) {
        halvik::AwvReadResult result = halvik::readAwv(asBytes(file.substr(0, length)));
        EXPECT_TRUE(std::holds_alternative<halvik::AwvError>(result)) << "cut at " << length;
    }
    EXPECT_TRUE(std::holds_alternative<halvik::AwvError>(halvik::readAwv(asBytes(file + "}"))));
}

TEST(MemoryWriterFiles, ItsOwnVocabularyIsRead) {
    ScratchFolder scratch;
    std::vector<float> iq = {1.0f, -1.0f, 0.5f, 0.0f, -1.0f, 1.0f, 0.0f, 0.25f};
    std::vector<int16_t> marker1 = {0, 1, 1, 0};
    halvik::MemoryWaveform data{iq.data(), marker1.data(), nullptr, 4};
    halvik::MemoryWaveformSettings s;
    s.iGain = 1.0;
    s.qGain = 0.5;
    s.iOffset = 0.1;
    s.qOffset = -0.1;
    s.fs = 100e6;
    s.iqFilter = 2;
    s.markerMode = 64;
    s.marker1 = {1, 1, {1, 2, 3, 4}};
    s.marker2 = {0, 0, {0, 0, 0, 0}};
    s.startTrigger = 0;
    s.triggerPolarity = 1;
    s.outputSequence = 1;
    s.sequenceParam = 5;
    s.iqOutput = 2;
    const std::string path = scratch.file("memory.awv");
    ASSERT_EQ(halvik::writeMemoryWaveform(data, s, path), 0);

    halvik::AwvReadResult result = halvik::readAwvFile(path);
    ASSERT_TRUE(std::holds_alternative<AwvSummary>(result)) << std::get<halvik::AwvError>(result).describe();
    const AwvSummary& summary = std::get<AwvSummary>(result);
    EXPECT_FALSE(summary.settings.date);
    EXPECT_EQ(summary.settings.iqFilter, "THR");
    EXPECT_DOUBLE_EQ(summary.settings.iqGain->second, 0.5);
    EXPECT_DOUBLE_EQ(summary.settings.iqOffset->second, -0.1);
    EXPECT_EQ(summary.settings.marker1->polarity, "NEG");
    EXPECT_EQ(summary.settings.marker1->params, (std::array<int32_t, 4>{1, 2, 3, 4}));
    EXPECT_EQ(summary.settings.marker2->state, "OFF");
    EXPECT_EQ(summary.settings.startTrigger->polarity, "NEG");
    EXPECT_EQ(summary.settings.outputSequence->mode, "SINGLE");
    EXPECT_EQ(summary.settings.outputSequence->loops, 5);
    EXPECT_EQ(summary.settings.iqOutput, "OFF");
    EXPECT_EQ(summary.sampleCount, 4u);
    EXPECT_EQ(summary.wordA.atPositiveFullScale, 1u);
    EXPECT_EQ(summary.wordA.atNegativeFullScale, 1u);
    EXPECT_EQ(summary.wordB.atNegativeFullScale, 1u);
    EXPECT_EQ(summary.wordB.atPositiveFullScale, 1u);
    EXPECT_EQ(summary.marker1.highSamples, 2u);
    EXPECT_EQ(summary.marker1.changeCount, 2u);
}

}  // namespace
}  // namespace orvenda::cli::test
