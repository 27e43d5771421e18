// The codes the analysis reads for an input must be the words a conversion
// writes: every layout and setting that shapes codes, read in sequence and
// in jumps across the write blocks, compared with a file the engine wrote.
#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <memory>
#include <random>

#include <gtest/gtest.h>

#include "core/analysis/conversion_source.h"
#include "engine/awv_reader.h"
#include "engine/code_reader.h"
#include "engine/line_reader.h"
#include "engine/text_checkpoints.h"
#include "tests/engine/conversion_test_support.h"

namespace {

using namespace halvik;
using namespace halvik::test;

enum class Layout { FloatPairs, ShortPairs, TwoColumnText, SingleColumns };

struct Row {
    std::string name;
    Layout layout;
    int ifConvert = 0;
    int ifMode = 0;
    int inverted = 0;
    int markerFlags = 0;
    double gain = 1.0;
    double peak = 1.0;
    int32_t count = 3000;
    int32_t written = 3000;  // samples in the input file (fewer: the rest reads 0)
};

void PrintTo(const Row& row, std::ostream* out) { *out << row.name; }

std::string number(double value) {
    char text[64];
    auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, 6);
    return std::string(text, result.ptr);
}

struct Inputs {
    std::string iPath, qPath;
    int32_t dataType = 0, fileKind = 0;
};

Inputs writeInputs(const Row& row, const ScratchDir& dir) {
    std::mt19937 random(7);
    std::uniform_real_distribution<double> value(-1.3, 1.3);  // some clip at peak 1
    std::vector<float> floats;
    std::vector<int16_t> shorts;
    std::string iq, iText, qText;
    for (int32_t k = 0; k < row.written; ++k) {
        double i = value(random) * row.peak, q = value(random) * row.peak;
        floats.push_back(static_cast<float>(i));
        floats.push_back(static_cast<float>(q));
        shorts.push_back(static_cast<int16_t>(std::clamp(i, -32768.0, 32767.0)));
        shorts.push_back(static_cast<int16_t>(std::clamp(q, -32768.0, 32767.0)));
        iq += number(i) + " " + number(q) + "\n";
        iText += number(i) + "\n";
        qText += number(q) + "\n";
    }
    Inputs in;
    switch (row.layout) {
    case Layout::FloatPairs:
        writeFile(in.iPath = dir.file("in.bin"), bytesOf(floats));
        in.dataType = HALVIK_TYPE_FLOAT_PAIRS;
        in.fileKind = HALVIK_KIND_IQ_FILE;
        break;
    case Layout::ShortPairs:
        writeFile(in.iPath = dir.file("in.bin"), bytesOf(shorts));
        in.dataType = HALVIK_TYPE_INT16_PAIRS;
        in.fileKind = HALVIK_KIND_IQ_FILE;
        break;
    case Layout::TwoColumnText:
        writeFile(in.iPath = dir.file("in.txt"), iq);
        in.dataType = HALVIK_TYPE_TEXT;
        in.fileKind = HALVIK_KIND_IQ_FILE;
        break;
    case Layout::SingleColumns:
        writeFile(in.iPath = dir.file("in.i"), iText);
        writeFile(in.qPath = dir.file("in.q"), qText);
        in.fileKind = HALVIK_KIND_I_FILE | HALVIK_KIND_Q_FILE;
        break;
    }
    return in;
}

std::vector<uint32_t> writtenWords(const std::string& path) {
    AwvReadResult result = readAwvFile(path);
    const auto& summary = std::get<AwvSummary>(result);
    std::string bytes = readFile(path);
    std::vector<uint32_t> words(2 * summary.sampleCount);
    std::memcpy(words.data(), bytes.data() + summary.dataOffset, words.size() * 4);
    return words;
}

// What the reader of a call's codes is asked for: the call's own arguments.
ConversionRequest requestOf(const Call& call) {
    ConversionRequest request;
    request.iPath = call.iPath;
    request.qPath = call.qPath;
    request.inputDataType = call.dataType;
    request.inputFileKind = call.fileKind;
    request.marker1 = call.marker1.data();
    request.marker2 = call.marker2.data();
    request.sampleCount = call.sampleCount;
    request.peakValue = call.peak;
    request.settings = &call.settings;
    return request;
}

class CodeReaderMatchesFile : public ::testing::TestWithParam<Row> {};

TEST_P(CodeReaderMatchesFile, InSequenceAndInJumps) {
    const Row& row = GetParam();
    ScratchDir dir;
    Inputs in = writeInputs(row, dir);
    Call call;
    call.iPath = in.iPath;
    call.qPath = in.qPath;
    call.dataType = in.dataType;
    call.fileKind = in.fileKind;
    call.sampleCount = row.count;
    call.peak = row.peak;
    call.settings.AWGGain = row.gain;
    call.settings.Fs = 10e6;
    call.settings.IFFreq = 1.3e6;
    call.settings.IFConvert = row.ifConvert;
    call.settings.IFMode = row.ifMode;
    call.settings.IQInv = row.inverted;
    call.settings.MarkerFlags = row.markerFlags;
    call.marker1[0] = {100, 1};
    call.marker1[1] = {1500, 0};
    call.marker1[2] = {2100, 1};
    call.marker2[0] = {1023, 1};
    call.marker2[1] = {1025, 0};
    call.outPath = dir.file("out.awv");
    ASSERT_EQ(call.run(), 0);
    const std::vector<uint32_t> expected = writtenWords(call.outPath);
    ASSERT_EQ(expected.size(), 2u * static_cast<std::size_t>(row.count));

    const ConversionRequest request = requestOf(call);
    StartingPeak peak = startingPeak(request, openFileSource);
    ASSERT_TRUE(peak.opened);
    auto reader = CodeReader::open(request, peak.peak);
    ASSERT_NE(reader, nullptr);

    std::vector<uint32_t> words(expected.size());
    for (int32_t first = 0; first < row.count; first += 700) {
        std::size_t length = static_cast<std::size_t>(std::min(700, row.count - first));
        ASSERT_TRUE(reader->read(first, length, words.data() + 2 * first, nullptr, nullptr));
    }
    EXPECT_EQ(words, expected) << "read in sequence";

    // Backwards, forwards, across block edges, single samples.
    const std::pair<int32_t, int32_t> ranges[] = {{2047, 3}, {10, 1},      {1023, 2}, {2999, 1},
                                                  {0, 1025}, {1500, 1499}, {1024, 1}};
    for (auto [first, length] : ranges) {
        std::vector<uint32_t> part(2 * static_cast<std::size_t>(length));
        ASSERT_TRUE(reader->read(first, static_cast<std::size_t>(length), part.data(), nullptr, nullptr));
        EXPECT_TRUE(std::equal(part.begin(), part.end(), expected.begin() + 2 * first))
            << "range " << first << " + " << length;
    }
}

const Row kRows[] = {
    {"FloatBaseband", Layout::FloatPairs},
    {"FloatGainInverted", Layout::FloatPairs, 0, 0, 1, 0, 0.7},
    {"FloatRealIf", Layout::FloatPairs, 1, 0},
    {"FloatComplexIfMarkers", Layout::FloatPairs, 1, 1, 0, 0x6},
    {"FloatShorterFile", Layout::FloatPairs, 0, 0, 0, 0x2, 1.0, 1.0, 3000, 1800},
    {"ShortPairsPeak", Layout::ShortPairs, 0, 0, 0, 0x4, 1.0, 9000.0},
    {"ShortPairsIf", Layout::ShortPairs, 1, 1, 1, 0, 0.5, 9000.0},
    {"TwoColumnText", Layout::TwoColumnText, 0, 0, 0, 0x6, 0.9},
    {"TwoColumnTextIf", Layout::TwoColumnText, 1, 0, 0, 0},
    {"SingleColumns", Layout::SingleColumns, 0, 0, 1, 0x2},
};

INSTANTIATE_TEST_SUITE_P(Layouts, CodeReaderMatchesFile, ::testing::ValuesIn(kRows), RowName{});

// Text has no fixed sample size: once a reader has read forward, a jump back
// starts at the noted point before its range, not at the start of the files;
// readers sharing the points start near a range they never read. A very long
// line, longer than the reader's buffer, leaves out the point it falls on.
TEST(CodeReaderCheckpoints, JumpsInTextStartNearTheirRangeAndReadTheWrittenCodes) {
    constexpr int32_t kInterval = static_cast<int32_t>(TextCheckpoints::kInterval);
    constexpr int32_t kCount = 2 * kInterval + 3000;
    for (Layout layout : {Layout::TwoColumnText, Layout::SingleColumns}) {
        SCOPED_TRACE(layout == Layout::TwoColumnText ? "two columns" : "single columns");
        ScratchDir dir;
        Row row{"checkpoints", layout, 1, 1, 0, 0x6, 0.9, 1.0, kCount, kCount};
        Inputs in = writeInputs(row, dir);
        const bool cutLine = layout == Layout::TwoColumnText;
        if (cutLine) {  // the line of the last sample before the first point
            std::string text = readFile(in.iPath);
            std::size_t at = 0;
            for (int32_t line = 0; line < kInterval; ++line) at = text.find('\n', at) + 1;
            text.insert(at - 1, std::string(2 * LineReader::kBufferSize + 100, ' '));
            writeFile(in.iPath, text);
        }
        Call call;
        call.iPath = in.iPath;
        call.qPath = in.qPath;
        call.dataType = in.dataType;
        call.fileKind = in.fileKind;
        call.sampleCount = kCount;
        call.settings.Fs = 10e6;
        call.settings.IFFreq = 1.3e6;
        call.settings.IFConvert = 1;
        call.settings.IFMode = 1;
        call.outPath = dir.file("out.awv");
        ASSERT_EQ(call.run(), 0);
        const std::vector<uint32_t> expected = writtenWords(call.outPath);

        const ConversionRequest request = requestOf(call);
        const double peak = startingPeak(request, openFileSource).peak;
        std::vector<std::uint64_t> opened;
        OffsetSourceOpener counting = [&](const std::string& path, std::uint64_t offset) {
            opened.push_back(offset);
            return openFileSourceAt(path, offset);
        };
        auto checkpoints = std::make_shared<TextCheckpoints>();
        auto reader = CodeReader::open(request, peak, counting, checkpoints);
        ASSERT_NE(reader, nullptr);
        std::vector<uint32_t> words(expected.size());
        for (int32_t first = 0; first < kCount; first += 5000) {
            std::size_t length = static_cast<std::size_t>(std::min(5000, kCount - first));
            ASSERT_TRUE(reader->read(first, length, words.data() + 2 * first, nullptr, nullptr));
        }
        ASSERT_EQ(words, expected);

        struct Jump {
            int32_t first, length;
            bool fromStart;  // no noted point at or before first
        };
        // Each jump lies behind the reader or beyond a point ahead of it.
        const Jump jumps[] = {{2 * kInterval + 5, 100, false}, {2 * kInterval - 1, 2, cutLine},
                              {kInterval + 10, 50, cutLine},   {5, 10, true},
                              {2 * kInterval, 1, false},       {kInterval, 1, cutLine}};
        for (const Jump& jump : jumps) {
            opened.clear();
            std::vector<uint32_t> part(2 * static_cast<std::size_t>(jump.length));
            ASSERT_TRUE(reader->read(jump.first, static_cast<std::size_t>(jump.length), part.data(), nullptr, nullptr));
            EXPECT_TRUE(std::equal(part.begin(), part.end(), expected.begin() + 2 * jump.first)) << jump.first;
            ASSERT_FALSE(opened.empty()) << "the inputs are opened again for " << jump.first;
            for (std::uint64_t offset : opened) EXPECT_EQ(offset == 0, jump.fromStart) << jump.first;
        }

        opened.clear();
        auto sharing = CodeReader::open(request, peak, counting, checkpoints);
        ASSERT_NE(sharing, nullptr);
        opened.clear();
        std::vector<uint32_t> part(2 * 7);
        ASSERT_TRUE(sharing->read(2 * kInterval + 3, 7, part.data(), nullptr, nullptr));
        EXPECT_TRUE(std::equal(part.begin(), part.end(), expected.begin() + 2 * (2 * kInterval + 3)));
        for (std::uint64_t offset : opened) EXPECT_GT(offset, 0u) << "a reader sharing the points";
    }
}

TEST(ConversionSource, DecodesCodesMarkersAndExactValues) {
    ScratchDir dir;
    Row row{"x", Layout::FloatPairs, 1, 1, 0, 0x6, 0.8};
    Inputs in = writeInputs(row, dir);
    orvenda::analysis::ConversionInput input;
    input.arguments.iPath = in.iPath;
    input.arguments.inputDataType = in.dataType;
    input.arguments.inputFileKind = in.fileKind;
    input.arguments.sampleCount = row.count;
    input.arguments.peakValue = 1.0;
    input.arguments.settings = quietSettings();
    input.arguments.settings.AWGGain = row.gain;
    input.arguments.settings.Fs = 10e6;
    input.arguments.settings.IFFreq = 1.3e6;
    input.arguments.settings.IFConvert = 1;
    input.arguments.settings.IFMode = 1;
    input.arguments.settings.MarkerFlags = 0x6;
    input.marker1 = {{5, 1}, {9, 0}};  // padded to the engine's 99 entries
    auto opened = orvenda::analysis::ConversionSampleSource::open(input);
    ASSERT_TRUE(opened.status.done()) << opened.status.error;
    const auto& source = *opened.source;
    EXPECT_EQ(source.size(), 3000u);
    EXPECT_DOUBLE_EQ(source.samplingFrequency(), 10e6);
    EXPECT_TRUE(source.isComplex());

    orvenda::analysis::SampleBlock block;
    ASSERT_TRUE(orvenda::analysis::readSamples(source, 0, 3000, block));
    for (std::size_t k = 0; k < 3000; ++k) {
        EXPECT_EQ(block.markers[k], (k >= 5 && k < 9) ? 1 : 0) << k;
        for (auto [code, exact] : {std::pair{block.i[k], block.exactI[k]}, std::pair{block.q[k], block.exactQ[k]}}) {
            double expected = std::clamp(std::trunc(exact + 8192.0), 1.0, 16383.0) - 8192.0;
            ASSERT_EQ(code, static_cast<int>(expected)) << k;
        }
    }
}

TEST(ConversionSource, RefusesMissingInputAndStopsScanOnCancel) {
    orvenda::analysis::ConversionInput input;
    input.arguments.iPath = "/nonexistent/in.bin";
    input.arguments.inputDataType = HALVIK_TYPE_FLOAT_PAIRS;
    input.arguments.inputFileKind = HALVIK_KIND_IQ_FILE;
    input.arguments.sampleCount = 10;
    input.arguments.settings = quietSettings();
    auto missing = orvenda::analysis::ConversionSampleSource::open(input);
    EXPECT_EQ(missing.status.outcome, orvenda::analysis::Outcome::Failed);
    EXPECT_EQ(missing.source, nullptr);

    ScratchDir dir;
    writeFile(input.arguments.iPath = dir.file("in.bin"), std::string(8 * 10, '\0'));
    input.arguments.settings.IFConvert = 1;
    input.arguments.settings.Fs = 1e6;
    std::atomic<bool> cancel{true};
    orvenda::analysis::AnalysisControl control;
    control.cancel = &cancel;
    auto cancelled = orvenda::analysis::ConversionSampleSource::open(input, control);
    EXPECT_EQ(cancelled.status.outcome, orvenda::analysis::Outcome::Cancelled);
}

}  // namespace
