// The waveform file reader on files written by hand from the format's rules:
// what it reports for good files, and where and why it rejects bad ones.
#include "engine/awv_reader.h"

#include <gtest/gtest.h>

#include <ostream>

#include <random>

#include "tests/cli/awv_test_files.h"

namespace orvenda::cli::test {
namespace {

using halvik::AwvError;
using halvik::AwvSummary;

AwvSummary readGood(const std::string& bytes) {
    halvik::AwvReadResult result = halvik::readAwv(asBytes(bytes));
    if (const auto* error = std::get_if<AwvError>(&result)) {
        ADD_FAILURE() << "rejected: " << error->describe();
        return {};
    }
    return std::get<AwvSummary>(result);
}

TEST(AwvReader, FullHeaderGivesEverySetting) {
    AwvSummary s = readGood(awvFile(kFullHeader, std::vector<Sample>(4)));
    const halvik::AwvSettings& set = s.settings;
    EXPECT_EQ(set.date, "2026/12/08");
    EXPECT_EQ(set.time, "15:09:40");
    EXPECT_EQ(set.iqFilter, "FLT50M");
    EXPECT_EQ(set.iqOutput, "VAR");
    ASSERT_TRUE(set.iqGain && set.iqOffset);
    EXPECT_DOUBLE_EQ(set.iqGain->first, 1.5);
    EXPECT_DOUBLE_EQ(set.iqGain->second, 0.2);
    EXPECT_DOUBLE_EQ(set.iqOffset->first, -0.05);
    EXPECT_DOUBLE_EQ(set.iqOffset->second, 0.0);
    ASSERT_TRUE(set.startTrigger && set.outputSequence && set.samplingFrequency && set.marker1 && set.marker2);
    EXPECT_EQ(set.startTrigger->source, "LINK");
    EXPECT_EQ(set.startTrigger->polarity, "NEG");
    EXPECT_EQ(set.outputSequence->mode, "SINGL");
    EXPECT_EQ(set.outputSequence->loops, 12);
    EXPECT_DOUBLE_EQ(*set.samplingFrequency, 100e6);
    EXPECT_EQ(set.marker1->state, "ON");
    EXPECT_EQ(set.marker2->params, (std::array<int32_t, 4>{0, 2, 2, 1}));
    EXPECT_EQ(set.markerMode, "WFM");
    ASSERT_EQ(s.lines.size(), 11u);
    EXPECT_EQ(s.lines[0].key, "DATE");
    EXPECT_EQ(s.lines[1].offset, 27u);
    EXPECT_EQ(s.lines[3].fields, (std::vector<std::string>{"1.500000E+000", "2.000000E-001"}));
    EXPECT_EQ(s.dataOffset, kFullHeader.size() + std::string("{WAVEDATA:32;").size());
    EXPECT_EQ(s.sampleCount, 4u);
    EXPECT_EQ(s.fileSize, s.dataOffset + 33);
}

TEST(AwvReader, OtherWriterVocabularyAndOrder) {
    // The in-memory writer's forms: "%f" numbers, SINGLE, OFF, marker lines
    // with their own polarity and parameters, DATE left out.
    std::string header =
        "{IQFILTER:THR}\n{IQGAIN:1.000000;-0.500000}\n{IQOFFSET:0.100000;0.200000}\n{MARKERMODE:SEQ}\n"
        "{MARKER1:OFF;NEG;-3;4;5;6}\n{MARKER2:ON;POS;0;0;0;0}\n{STARTTRIGGER:INT;NEG}\n"
        "{OUTPUTSEQUENCE:SINGLE;65536}\n{SAMPLINGFREQ:12500000.000000}\n{IQOUTPUT:OFF}\n";
    AwvSummary s = readGood(awvFile(header, std::vector<Sample>{}));
    EXPECT_FALSE(s.settings.date);
    EXPECT_EQ(s.settings.iqOutput, "OFF");
    EXPECT_DOUBLE_EQ(s.settings.iqGain->second, -0.5);
    EXPECT_EQ(s.settings.marker1->polarity, "NEG");
    EXPECT_EQ(s.settings.marker1->params[0], -3);
    EXPECT_EQ(s.settings.outputSequence->mode, "SINGLE");
    EXPECT_EQ(s.settings.outputSequence->loops, 65536);
    EXPECT_EQ(s.settings.startTrigger->polarity, "NEG");
    EXPECT_EQ(s.sampleCount, 0u);
}

TEST(AwvReader, GatedAndContinuousSequences) {
    EXPECT_EQ(readGood(awvFile("{OUTPUTSEQUENCE:GATE;LEV}\n", "")).settings.outputSequence->gate, "LEV");
    EXPECT_EQ(readGood(awvFile("{OUTPUTSEQUENCE:CONT}\n", "")).settings.outputSequence->mode, "CONT");
}

TEST(AwvReader, NoHeaderAndNoSamples) {
    AwvSummary s = readGood("{WAVEDATA:0;}");
    EXPECT_TRUE(s.lines.empty());
    EXPECT_EQ(s.sampleCount, 0u);
    EXPECT_EQ(s.wordA.minCode, 0u);
    EXPECT_EQ(s.wordA.maxCode, 0u);
    EXPECT_EQ(s.marker1.changeCount, 0u);
}

TEST(AwvReader, CodeRangesAndFullScaleCounts) {
    std::vector<Sample> samples = {{1, 16383}, {16383, 1}, {8192, 8192}, {1, 16383}, {100, 16000}};
    AwvSummary s = readGood(awvFile("", samples));
    EXPECT_EQ(s.sampleCount, 5u);
    EXPECT_EQ(s.wordA.minCode, 1u);
    EXPECT_EQ(s.wordA.maxCode, 16383u);
    EXPECT_EQ(s.wordA.atNegativeFullScale, 2u);
    EXPECT_EQ(s.wordA.atPositiveFullScale, 1u);
    EXPECT_EQ(s.wordB.minCode, 1u);
    EXPECT_EQ(s.wordB.atNegativeFullScale, 1u);
    EXPECT_EQ(s.wordB.atPositiveFullScale, 2u);
    EXPECT_EQ(s.wordA.wordsWithStrayBits, 0u);
}

TEST(AwvReader, MarkerBitsAreNotPartOfTheCode) {
    // Code 16383 with both markers is the word 0xFFFF: still full scale.
    AwvSummary s = readGood(awvFile("", std::vector<Sample>{{16383, 8192, true, true}}));
    EXPECT_EQ(s.wordA.maxCode, 16383u);
    EXPECT_EQ(s.wordA.atPositiveFullScale, 1u);
    EXPECT_EQ(s.marker1.highSamples, 1u);
    EXPECT_EQ(s.marker2.highSamples, 1u);
}

TEST(AwvReader, StrayBitsAreCountedPerWord) {
    std::string block;
    appendWord(block, 0x00012000);  // bit 16 in word A
    appendWord(block, 0x00006000);  // bit 14 in word B, which carries no marker
    appendWord(block, 0x0000E000);  // markers only: no stray bits
    appendWord(block, 0x00002000);
    AwvSummary s = readGood(awvFile("", block));
    EXPECT_EQ(s.wordA.wordsWithStrayBits, 1u);
    EXPECT_EQ(s.wordB.wordsWithStrayBits, 1u);
}

TEST(AwvReader, MarkerChangePointsStartFromLevelZero) {
    std::vector<Sample> samples(10);
    for (int k : {0, 1, 2, 6, 7}) samples[k].marker1 = true;
    for (int k : {9}) samples[k].marker2 = true;
    AwvSummary s = readGood(awvFile("", samples));
    EXPECT_EQ(s.marker1.highSamples, 5u);
    EXPECT_EQ(s.marker1.changeCount, 4u);
    ASSERT_EQ(s.marker1.firstChanges.size(), 4u);
    std::vector<std::pair<uint64_t, int>> got;
    for (const auto& c : s.marker1.firstChanges) got.emplace_back(c.sample, c.level);
    EXPECT_EQ(got, (std::vector<std::pair<uint64_t, int>>{{0, 1}, {3, 0}, {6, 1}, {8, 0}}));
    ASSERT_EQ(s.marker2.firstChanges.size(), 1u);
    EXPECT_EQ(s.marker2.firstChanges[0].sample, 9u);
}

TEST(AwvReader, OnlyTheFirstChangePointsAreKept) {
    std::vector<Sample> samples(100);
    for (std::size_t k = 0; k < samples.size(); k += 2) samples[k].marker2 = true;
    AwvSummary s = readGood(awvFile("", samples));
    EXPECT_EQ(s.marker2.changeCount, 100u);
    EXPECT_EQ(s.marker2.highSamples, 50u);
    EXPECT_EQ(s.marker2.firstChanges.size(), halvik::kAwvChangePointsKept);
    EXPECT_EQ(s.marker2.firstChanges.back().sample, halvik::kAwvChangePointsKept - 1);
}

TEST(AwvReader, LargeBlockSpansManyReadChunks) {
    std::vector<Sample> samples(100000);
    samples[99999] = {16383, 1, true, false};
    samples[65536].codeB = 16383;
    AwvSummary s = readGood(awvFile(kFullHeader, samples));
    EXPECT_EQ(s.sampleCount, 100000u);
    EXPECT_EQ(s.wordA.atPositiveFullScale, 1u);
    EXPECT_EQ(s.wordB.atPositiveFullScale, 1u);
    EXPECT_EQ(s.wordB.atNegativeFullScale, 1u);
    ASSERT_EQ(s.marker1.firstChanges.size(), 1u);
    EXPECT_EQ(s.marker1.firstChanges[0].sample, 99999u);
}

struct BadFile {
    const char* name;
    std::string bytes;
    uint64_t offset;
    const char* message;  // a part of the message
};

void PrintTo(const BadFile& row, std::ostream* out) { *out << row.name; }

std::string eightSamples() { return sampleBlock(std::vector<Sample>(1)); }

std::vector<BadFile> badFiles() {
    const std::string block = eightSamples();
    const std::string good = awvFile("{IQFILTER:THR}\n", block);  // WAVEDATA at 15, block at 27, "}" at 35
    return {
        {"Empty", "", 0, "the file is empty"},
        {"HeaderOnly", "{IQFILTER:THR}\n", 15, "ends before the WAVEDATA record"},
        {"NotAWaveform", "\x89PNG\r\n", 0,
         "expected '{' opening a header line or the WAVEDATA record, found byte 0x89"},
        {"UnknownKey", awvFile("{IQFILTER:THR}\n{COLOUR:RED}\n", block), 15, "unknown header key \"COLOUR\""},
        {"LowercaseKey", awvFile("{iqfilter:THR}\n", block), 1, "header key in capitals"},
        {"EmptyKey", awvFile("{:THR}\n", block), 1, "empty header key"},
        {"LongKey", awvFile("{ABCDEFGHIJKLMNOPQ:1}\n", block), 0, "longer than 16"},
        {"UnknownFilter", awvFile("{IQFILTER:FLT10M}\n", block), 10, "unknown IQFILTER value \"FLT10M\""},
        {"ExtraField", awvFile("{IQFILTER:THR;1}\n", block), 0, "IQFILTER line has 2 field(s), expected 1"},
        {"CrLf", awvFile("{IQFILTER:THR}\r\n", block), 14, "CR LF"},
        {"NoLineFeed", awvFile("{IQFILTER:THR}", block), 14, "expected a line feed after the IQFILTER line"},
        {"UnclosedLine", awvFile("{IQFILTER:THR\n", block), 13, "not closed by '}'"},
        {"ControlByte", awvFile(std::string("{IQFILTER:T\x01R}\n"), block), 11, "unexpected byte 0x01"},
        {"LongLine", awvFile("{IQGAIN:" + std::string(1100, '1') + ".000000;1.000000}\n", block), 0,
         "longer than 1024 bytes"},
        {"Duplicate", awvFile("{IQFILTER:THR}\n{IQFILTER:THR}\n", block), 15,
         "second IQFILTER line (the first is at byte 0)"},
        {"GainTwoDigitExponent", awvFile("{IQGAIN:1.000000E+00;1.000000E+000}\n", block), 8, "not a number"},
        {"GainWord", awvFile("{IQGAIN:1.000000;nan}\n", block), 17, "\"nan\" is not a number"},
        {"GainShortDecimals", awvFile("{IQOFFSET:0.5;0.500000}\n", block), 10, "not a number"},
        {"FsExponent", awvFile("{SAMPLINGFREQ:1.000000E+008}\n", block), 14, "not a number in %f form"},
        {"LoopsNotInteger", awvFile("{OUTPUTSEQUENCE:SINGL;1.5}\n", block), 22, "not a 32-bit integer"},
        {"LoopsTooLarge", awvFile("{OUTPUTSEQUENCE:SINGL;2147483648}\n", block), 22, "not a 32-bit integer"},
        {"ContWithCount", awvFile("{OUTPUTSEQUENCE:CONT;1}\n", block), 0, "has 2 field(s), expected 1"},
        {"GateWithoutMode", awvFile("{OUTPUTSEQUENCE:GATE}\n", block), 0, "has 1 field(s), expected 2"},
        {"MarkerShort", awvFile("{MARKER1:ON;POS;0;2;2}\n", block), 0, "MARKER1 line has 5 field(s)"},
        {"MarkerState", awvFile("{MARKER2:YES;POS;0;2;2;1}\n", block), 9, "unknown MARKER2 value \"YES\""},
        {"TriggerPolarity", awvFile("{STARTTRIGGER:LINK;UP}\n", block), 19, "expected POS, NEG"},
        {"BadDate", awvFile("{DATE:2026-12-08;15:09:40}\n", block), 6, "not a date"},
        {"BadMonth", awvFile("{DATE:2026/13/08;15:09:40}\n", block), 6, "not a date"},
        {"BadTime", awvFile("{DATE:2026/12/08;25:09:40}\n", block), 17, "not a time"},
        {"CountNotMultipleOf8", "{WAVEDATA:12;" + block + "xxxx}", 10, "not a multiple of 8"},
        {"CountMissing", "{WAVEDATA:;}", 10, "byte count is missing"},
        {"CountSigned", "{WAVEDATA:-8;" + block + "}", 10, "found '-'"},
        {"CountLeadingZero", "{WAVEDATA:08;" + block + "}", 10, "leading zeros"},
        {"CountHuge", "{WAVEDATA:1234567890123456789012;", 10, "implausibly long"},
        {"TruncatedInBlock", good.substr(0, 32), 32,
         "ends inside the sample block: WAVEDATA announces 8 bytes, only 5"},
        {"TruncatedBeforeClosing", good.substr(0, good.size() - 1), 35, "closing '}' is missing"},
        {"Padded", good + "\n", 36, "1 byte(s) follow the closing '}'"},
        {"PaddedWithZeros", good + std::string(100, '\0'), 36, "100 byte(s) follow"},
        {"CountTooSmall", "{WAVEDATA:8;" + block + block + "}", 10,
         "byte count 8 does not match the sample block, which holds 16 bytes"},
        {"CountTooLarge", "{WAVEDATA:16;" + block + "}", 22, "announces 16 bytes, only 9 follow"},
        {"WrongClosing", "{WAVEDATA:8;" + block + "]", 20,
         "expected the closing '}' after the sample block, found ']'"},
        {"TwoRecords", good + good, 36, "follow the closing '}'"},
    };
}

class AwvReaderRejects : public ::testing::TestWithParam<BadFile> {};

TEST_P(AwvReaderRejects, WithOffsetAndReason) {
    const BadFile& bad = GetParam();
    halvik::AwvReadResult result = halvik::readAwv(asBytes(bad.bytes));
    const auto* error = std::get_if<AwvError>(&result);
    ASSERT_NE(error, nullptr) << "accepted";
    EXPECT_EQ(error->offset, bad.offset) << error->message;
    EXPECT_NE(error->message.find(bad.message), std::string::npos) << error->message;
    EXPECT_EQ(error->describe(), "byte " + std::to_string(bad.offset) + ": " + error->message);
}

INSTANTIATE_TEST_SUITE_P(Table, AwvReaderRejects, ::testing::ValuesIn(badFiles()),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(AwvReader, EveryTruncationOfAGoodFileIsRejected) {
    const std::string file = awvFile(kFullHeader, std::vector<Sample>(3));
    for (std::size_t length = 0; length < file.size(); ++length) {
        halvik::AwvReadResult result = halvik::readAwv(asBytes(file.substr(0, length)));
        EXPECT_TRUE(std::holds_alternative<AwvError>(result)) << "prefix of " << length << " bytes accepted";
    }
    EXPECT_TRUE(std::holds_alternative<AwvSummary>(halvik::readAwv(asBytes(file))));
}

TEST(AwvReader, EveryBrokenPunctuationIsRejected) {
    // Each byte that gives the file its shape, replaced by a letter.
    const std::string file = awvFile(kFullHeader, std::vector<Sample>(2));
    const std::size_t blockStart = file.find("{WAVEDATA:") + 13;
    for (std::size_t k = 0; k < file.size(); ++k) {
        if (k >= blockStart && k < file.size() - 1) continue;  // sample bytes are data
        char c = file[k];
        if (c != '{' && c != '}' && c != ':' && c != ';' && c != '\n') continue;
        std::string broken = file;
        broken[k] = 'X';
        halvik::AwvReadResult result = halvik::readAwv(asBytes(broken));
        EXPECT_TRUE(std::holds_alternative<AwvError>(result)) << "byte " << k << " replaced, still accepted";
    }
}

TEST(AwvReader, RandomBytesNeverCrash) {
    std::mt19937 random(20261208);
    const std::string base = awvFile(kFullHeader, std::vector<Sample>(4));
    int rejected = 0;
    for (int round = 0; round < 2000; ++round) {
        std::string bytes = base;
        int edits = 1 + static_cast<int>(random() % 4);
        for (int e = 0; e < edits; ++e) bytes[random() % bytes.size()] = static_cast<char>(random() & 0xff);
        halvik::AwvReadResult result = halvik::readAwv(asBytes(bytes));
        if (const auto* error = std::get_if<AwvError>(&result)) {
            ++rejected;
            EXPECT_LE(error->offset, bytes.size());
            EXPECT_FALSE(error->message.empty());
        }
    }
    EXPECT_GT(rejected, 0);
}

TEST(AwvReader, MissingFileNamesThePath) {
    halvik::AwvReadResult result = halvik::readAwvFile("/nonexistent/folder/x.awv");
    ASSERT_TRUE(std::holds_alternative<AwvError>(result));
    EXPECT_NE(std::get<AwvError>(result).message.find("/nonexistent/folder/x.awv"), std::string::npos);
}

}  // namespace
}  // namespace orvenda::cli::test
