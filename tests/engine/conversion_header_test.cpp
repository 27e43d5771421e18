// Header lines of a conversion: each setting's line, their order, and the
// values that stop the call.
#include <ctime>
#include <functional>
#include <ostream>
#include <regex>
#include <string>

#include <gtest/gtest.h>

#include "tests/engine/conversion_test_support.h"

namespace halvik {
namespace {

using test::Call;
using test::readFile;
using test::ScratchDir;

struct HeaderRow {
    const char* name;
    std::function<void(ConversionSettings&)> set;
    std::string lines;  // everything between the DATE line and the data record
};

// Rows are named in test output by their name, not by a dump of their bytes.
void PrintTo(const HeaderRow& row, std::ostream* os) { *os << row.name; }

class HeaderLines : public ::testing::TestWithParam<HeaderRow> {};

TEST_P(HeaderLines, AreWrittenExactly) {
    ScratchDir dir;
    Call call;
    GetParam().set(call.settings);
    call.outPath = dir.file("out.awv");
    ASSERT_EQ(call.run(), 0);
    EXPECT_EQ(test::withoutDateLine(readFile(call.outPath)), GetParam().lines + "{WAVEDATA:0;}");
}

INSTANTIATE_TEST_SUITE_P(
    Rows, HeaderLines,
    ::testing::Values(
        HeaderRow{"NoOptionalLine", [](ConversionSettings&) {}, ""},
        HeaderRow{"Filter2_5M", [](ConversionSettings& s) { s.IQFilter = 0; }, "{IQFILTER:FLT2_5M}\n"},
        HeaderRow{"Filter50M", [](ConversionSettings& s) { s.IQFilter = 1; }, "{IQFILTER:FLT50M}\n"},
        HeaderRow{"FilterThrough", [](ConversionSettings& s) { s.IQFilter = 2; }, "{IQFILTER:THR}\n"},
        HeaderRow{"FixedOutput", [](ConversionSettings& s) { s.IQOutput = 0; }, "{IQOUTPUT:FIX}\n"},
        HeaderRow{"VariableOutputWithGains",
                  [](ConversionSettings& s) {
                      s.IQOutput = 1;
                      s.IOutputGain = 1500;
                      s.QOutputGain = -250;
                  },
                  "{IQOUTPUT:VAR}\n{IQGAIN:1.500000E+000;-2.500000E-001}\n"},
        HeaderRow{"Offsets",
                  [](ConversionSettings& s) {
                      s.IQOffset = 0;
                      s.IOffset = 1;
                      s.QOffset = -1000;
                  },
                  "{IQOFFSET:1.000000E-003;-1.000000E+000}\n"},
        HeaderRow{"InternalTriggerIgnoresPolarity",
                  [](ConversionSettings& s) {
                      s.StartTrigger = 0;
                      s.TriggerPolarity = 1;
                  },
                  "{STARTTRIGGER:INT;POS}\n"},
        HeaderRow{"LinkPositive", [](ConversionSettings& s) { s.StartTrigger = 1; }, "{STARTTRIGGER:LINK;POS}\n"},
        HeaderRow{"LinkNegative",
                  [](ConversionSettings& s) {
                      s.StartTrigger = 1;
                      s.TriggerPolarity = 1;
                  },
                  "{STARTTRIGGER:LINK;NEG}\n"},
        HeaderRow{"Continuous", [](ConversionSettings& s) { s.OutputSequence = 0; }, "{OUTPUTSEQUENCE:CONT}\n"},
        HeaderRow{"SingleRun",
                  [](ConversionSettings& s) {
                      s.OutputSequence = 1;
                      s.LoopNum = 5;
                      s.GateMode = 9;
                  },
                  "{OUTPUTSEQUENCE:SINGL;5}\n"},
        HeaderRow{"GateEdge", [](ConversionSettings& s) { s.OutputSequence = 2; }, "{OUTPUTSEQUENCE:GATE;EDGE}\n"},
        HeaderRow{"GateLevel",
                  [](ConversionSettings& s) {
                      s.OutputSequence = 2;
                      s.GateMode = 1;
                  },
                  "{OUTPUTSEQUENCE:GATE;LEV}\n"},
        HeaderRow{"SamplingFrequency", [](ConversionSettings& s) { s.Fs = 200e6; },
                  "{SAMPLINGFREQ:200000000.000000}\n"},
        HeaderRow{"NegativeFrequencyHasNoLine", [](ConversionSettings& s) { s.Fs = -5.0; }, ""},
        HeaderRow{"BothMarkerLines", [](ConversionSettings& s) { s.MarkerFlags = HALVIK_MARKER_BOTH_LINES; },
                  "{MARKER1:ON;POS;0;0;0;1}\n{MARKER2:ON;POS;0;0;0;1}\n"},
        HeaderRow{"Marker1", [](ConversionSettings& s) { s.MarkerFlags = HALVIK_MARKER_1_LINE; },
                  "{MARKER1:ON;POS;0;0;0;1}\n"},
        HeaderRow{"Marker2", [](ConversionSettings& s) { s.MarkerFlags = HALVIK_MARKER_2_LINE; },
                  "{MARKER2:ON;POS;0;0;0;1}\n"},
        HeaderRow{"ModeSeq", [](ConversionSettings& s) { s.MarkerFlags = HALVIK_MARKER_MODE_SEQ; },
                  "{MARKERMODE:SEQ}\n"},
        HeaderRow{"ModeWfmWinsOverSeq",
                  [](ConversionSettings& s) { s.MarkerFlags = HALVIK_MARKER_MODE_SEQ | HALVIK_MARKER_MODE_WFM; },
                  "{MARKERMODE:WFM}\n"},
        HeaderRow{"OtherFlagBitsIgnored",
                  [](ConversionSettings& s) { s.MarkerFlags = HALVIK_MARKER_GROUP_OFF | 0x80 | 0x100; }, ""},
        HeaderRow{"AllInOrder",
                  [](ConversionSettings& s) {
                      s.IQFilter = 1;
                      s.IQOutput = 1;
                      s.IOutputGain = 1000;
                      s.QOutputGain = 2000;
                      s.IQOffset = 0;
                      s.StartTrigger = 1;
                      s.OutputSequence = 0;
                      s.Fs = 1.5;
                      s.MarkerFlags = HALVIK_MARKER_BOTH_LINES | HALVIK_MARKER_1_LINE | HALVIK_MARKER_2_LINE |
                                      HALVIK_MARKER_MODE_WFM;
                  },
                  "{IQFILTER:FLT50M}\n{IQOUTPUT:VAR}\n{IQGAIN:1.000000E+000;2.000000E+000}\n"
                  "{IQOFFSET:0.000000E+000;0.000000E+000}\n{STARTTRIGGER:LINK;POS}\n{OUTPUTSEQUENCE:CONT}\n"
                  "{SAMPLINGFREQ:1.500000}\n{MARKER1:ON;POS;0;0;0;1}\n{MARKER2:ON;POS;0;0;0;1}\n"
                  "{MARKERMODE:WFM}\n"}),
    test::RowName());

TEST(HeaderLines, MarkerLinesCarryHalfTheSampleCount) {
    ScratchDir dir;
    test::writeFile(dir.file("i.txt"), "");
    Call call;
    call.iPath = dir.file("i.txt");
    call.fileKind = 1;
    call.sampleCount = 5;
    call.settings.MarkerFlags = HALVIK_MARKER_BOTH_LINES;
    call.outPath = dir.file("out.awv");
    ASSERT_EQ(call.run(), 0);
    std::string file = test::withoutDateLine(readFile(call.outPath));
    EXPECT_EQ(file.substr(0, file.find("{WAVEDATA")), "{MARKER1:ON;POS;0;2;2;1}\n{MARKER2:ON;POS;0;2;2;1}\n");
}

TEST(HeaderLines, DateLineIsTheLocalTimeOfTheCall) {
    ScratchDir dir;
    Call call;
    call.outPath = dir.file("out.awv");
    std::time_t before = std::time(nullptr);
    ASSERT_EQ(call.run(), 0);
    std::time_t after = std::time(nullptr);
    std::string date = test::dateLineOf(readFile(call.outPath));
    std::smatch parts;
    ASSERT_TRUE(
        std::regex_match(date, parts, std::regex(R"(\{DATE:(\d{4})/(\d{2})/(\d{2});(\d{2}):(\d{2}):(\d{2})\}\n)")))
        << date;
    std::tm local{};
    local.tm_year = std::stoi(parts[1]) - 1900;
    local.tm_mon = std::stoi(parts[2]) - 1;
    local.tm_mday = std::stoi(parts[3]);
    local.tm_hour = std::stoi(parts[4]);
    local.tm_min = std::stoi(parts[5]);
    local.tm_sec = std::stoi(parts[6]);
    local.tm_isdst = -1;
    std::time_t written = std::mktime(&local);
    EXPECT_GE(written, before);
    EXPECT_LE(written, after);
}

struct InvalidRow {
    const char* name;
    std::function<void(ConversionSettings&)> set;
};

// Rows are named in test output by their name, not by a dump of their bytes.
void PrintTo(const InvalidRow& row, std::ostream* os) { *os << row.name; }

class InvalidSetting : public ::testing::TestWithParam<InvalidRow> {};

TEST_P(InvalidSetting, FailsAndLeavesTheOutputAsItWas) {
    ScratchDir dir;
    Call call;
    GetParam().set(call.settings);
    call.outPath = dir.file("out.awv");
    EXPECT_EQ(call.run(), -1);
    EXPECT_TRUE(dir.entries().empty()) << "no output and no temporary file";

    test::writeFile(call.outPath, "previous");
    EXPECT_EQ(call.run(), -1);
    EXPECT_EQ(readFile(call.outPath), "previous");
    EXPECT_EQ(dir.entries().size(), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, InvalidSetting,
    ::testing::Values(InvalidRow{"Filter3", [](ConversionSettings& s) { s.IQFilter = 3; }},
                      InvalidRow{"FilterMinus2", [](ConversionSettings& s) { s.IQFilter = -2; }},
                      InvalidRow{"Output2", [](ConversionSettings& s) { s.IQOutput = 2; }},
                      InvalidRow{"Offset1", [](ConversionSettings& s) { s.IQOffset = 1; }},
                      InvalidRow{"Trigger2", [](ConversionSettings& s) { s.StartTrigger = 2; }},
                      InvalidRow{"LinkPolarity2",
                                 [](ConversionSettings& s) {
                                     s.StartTrigger = 1;
                                     s.TriggerPolarity = 2;
                                 }},
                      InvalidRow{"Sequence3", [](ConversionSettings& s) { s.OutputSequence = 3; }},
                      InvalidRow{"GateMode2",
                                 [](ConversionSettings& s) {
                                     s.OutputSequence = 2;
                                     s.GateMode = 2;
                                 }},
                      InvalidRow{"LastLineBad",
                                 [](ConversionSettings& s) {
                                     s.IQFilter = 0;
                                     s.IQOutput = 0;
                                     s.OutputSequence = 9;
                                 }},
                      InvalidRow{"GainAboveOne", [](ConversionSettings& s) { s.AWGGain = 1.0000001; }},
                      InvalidRow{"GainBelowZero", [](ConversionSettings& s) { s.AWGGain = -0.001; }},
                      InvalidRow{"GainNaN", [](ConversionSettings& s) { s.AWGGain = std::nan(""); }}),
    test::RowName());

}  // namespace
}  // namespace halvik
