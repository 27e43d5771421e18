// The record a transform command builds from the panel, the loaded input and
// the command kind: every field, both commands, the checks before the dialog.
#include <gtest/gtest.h>
#include <ostream>

#include <functional>
#include <string>
#include <vector>

#include "core/transform/settings_record.h"

namespace orvenda {
namespace {

// The panel as the program starts, with the loaded input of a float file.
TransformRequest startRequest(TransformKind kind) {
    TransformRequest request;
    request.kind = kind;
    request.input.InputFileKind = HALVIK_KIND_IQ_FILE;
    request.input.InputDataType = HALVIK_TYPE_FLOAT_PAIRS;
    request.input.IQFilePath = "/data/iq.bin";
    request.input.DataSize = 4096;
    request.input.PeakI = 0.5;
    request.input.PeakQ = -0.75;
    return request;
}

ConversionSettings recordOf(const TransformRequest& request) {
    const TransformPlan plan = planTransform(request);
    EXPECT_TRUE(plan.ok()) << problemsText(plan.problems);
    return plan.arguments.settings;
}

struct FieldRow {
    const char* name;
    TransformKind kind;
    std::function<void(settings::PanelSnapshot&)> set;
    std::function<double(const ConversionSettings&)> field;
    double expected;
};

// Rows are named in test output by their name, not by a dump of their bytes.
void PrintTo(const FieldRow& row, std::ostream* os) { *os << row.name; }

constexpr auto BB = TransformKind::BaseBand;
constexpr auto IF = TransformKind::IF;

// One row per line of the record table and per branch in it.
const std::vector<FieldRow>& fieldRows() {
    using P = settings::PanelSnapshot;
    using R = ConversionSettings;
    static const std::vector<FieldRow> rows = {
        {"Fs_in_Hz", BB, [](P& p) { p.fsText = " 12.5 "; }, [](const R& r) { return r.Fs; }, 12.5e6},
        {"Fs_zero_passes_BaseBand", BB, [](P& p) { p.fsText = "0"; }, [](const R& r) { return r.Fs; }, 0.0},
        {"Fs_IF", IF, [](P& p) { p.fsText = "100"; }, [](const R& r) { return r.Fs; }, 100e6},
        {"IFFreq_BaseBand_zero", BB, [](P& p) { p.ifFreqText = "30"; }, [](const R& r) { return r.IFFreq; }, 0.0},
        {"IFFreq_IF_in_Hz", IF, [](P& p) { p.ifFreqText = "-2.5e1"; }, [](const R& r) { return r.IFFreq; }, -25e6},
        {"AWGGain_leading_number", BB, [](P& p) { p.awgGainText = " 0.5 volts"; }, [](const R& r) { return r.AWGGain; },
         0.5},
        {"AWGGain_no_number_is_0", BB, [](P& p) { p.awgGainText = "abc"; }, [](const R& r) { return r.AWGGain; }, 0.0},
        {"AWGGain_empty_is_0", IF, [](P& p) { p.awgGainText = ""; }, [](const R& r) { return r.AWGGain; }, 0.0},
        {"IQFilter_off", BB, [](P& p) { p.filterIndex = 2; }, [](const R& r) { return r.IQFilter; }, -1},
        {"IQFilter_index_0", BB, [](P& p) { p.iqFilterOn = true; }, [](const R& r) { return r.IQFilter; }, 0},
        {"IQFilter_index_2", IF,
         [](P& p) {
             p.iqFilterOn = true;
             p.filterIndex = 2;
         },
         [](const R& r) { return r.IQFilter; }, 2},
        {"IQInv_off", BB, [](P&) {}, [](const R& r) { return r.IQInv; }, 0},
        {"IQInv_on", IF, [](P& p) { p.iqInverse = true; }, [](const R& r) { return r.IQInv; }, 1},
        {"IFConvert_BaseBand", BB, [](P&) {}, [](const R& r) { return r.IFConvert; }, 0},
        {"IFConvert_IF", IF, [](P&) {}, [](const R& r) { return r.IFConvert; }, 1},
        {"IFMode_BaseBand_ignores_OptIF", BB, [](P& p) { p.ifOption = 1; }, [](const R& r) { return r.IFMode; }, 0},
        {"IFMode_IF", IF, [](P& p) { p.ifOption = 0; }, [](const R& r) { return r.IFMode; }, 0},
        {"IFMode_FreqOffset", IF, [](P& p) { p.ifOption = 1; }, [](const R& r) { return r.IFMode; }, 1},
        {"StartTrigger_off", BB, [](P& p) { p.startTriggerOption = 1; }, [](const R& r) { return r.StartTrigger; }, -1},
        {"StartTrigger_internal", BB, [](P& p) { p.startTriggerOn = true; }, [](const R& r) { return r.StartTrigger; },
         0},
        {"StartTrigger_link", IF,
         [](P& p) {
             p.startTriggerOn = true;
             p.startTriggerOption = 1;
         },
         [](const R& r) { return r.StartTrigger; }, 1},
        {"TriggerPolarity_positive", BB, [](P&) {}, [](const R& r) { return r.TriggerPolarity; }, 0},
        {"TriggerPolarity_negative_even_when_off", BB, [](P& p) { p.linkOption = 1; },
         [](const R& r) { return r.TriggerPolarity; }, 1},
        {"OutputSequence_off", BB, [](P& p) { p.outputSequenceOption = 1; },
         [](const R& r) { return r.OutputSequence; }, -1},
        {"OutputSequence_continuous", BB, [](P& p) { p.outputSequenceOn = true; },
         [](const R& r) { return r.OutputSequence; }, 0},
        {"OutputSequence_single", IF,
         [](P& p) {
             p.outputSequenceOn = true;
             p.outputSequenceOption = 1;
         },
         [](const R& r) { return r.OutputSequence; }, 1},
        {"OutputSequence_gated", BB,
         [](P& p) {
             p.outputSequenceOn = true;
             p.outputSequenceOption = 2;
         },
         [](const R& r) { return r.OutputSequence; }, 2},
        {"OutputSequence_none_selected_is_gated", BB,
         [](P& p) {
             p.outputSequenceOn = true;
             p.outputSequenceOption = -1;
         },
         [](const R& r) { return r.OutputSequence; }, 2},
        {"LoopNum_rounded_half_even", BB, [](P& p) { p.loopNumText = "2.5"; }, [](const R& r) { return r.LoopNum; }, 2},
        {"LoopNum_leading_number", IF, [](P& p) { p.loopNumText = "3.5 times"; }, [](const R& r) { return r.LoopNum; },
         4},
        {"LoopNum_blanks_removed", BB, [](P& p) { p.loopNumText = "1 2"; }, [](const R& r) { return r.LoopNum; }, 12},
        {"GateMode_edge", BB, [](P&) {}, [](const R& r) { return r.GateMode; }, 0},
        {"GateMode_level_even_when_off", BB, [](P& p) { p.gatedOption = 1; }, [](const R& r) { return r.GateMode; }, 1},
        {"IQOutput_off", BB, [](P& p) { p.iqOutputOption = 1; }, [](const R& r) { return r.IQOutput; }, -1},
        {"IQOutput_fixed", BB, [](P& p) { p.iqOutputOn = true; }, [](const R& r) { return r.IQOutput; }, 0},
        {"IQOutput_variable", IF,
         [](P& p) {
             p.iqOutputOn = true;
             p.iqOutputOption = 1;
         },
         [](const R& r) { return r.IQOutput; }, 1},
        {"IOutputGain", BB, [](P& p) { p.iOutputText = "1500"; }, [](const R& r) { return r.IOutputGain; }, 1500},
        {"QOutputGain_half_to_even", BB, [](P& p) { p.qOutputText = "-2.5"; }, [](const R& r) { return r.QOutputGain; },
         -2},
        {"IQOffset_off", BB, [](P&) {}, [](const R& r) { return r.IQOffset; }, -1},
        {"IQOffset_on", IF, [](P& p) { p.iqOffsetOn = true; }, [](const R& r) { return r.IQOffset; }, 0},
        {"IOffset", BB, [](P& p) { p.iOffsetText = "-35"; }, [](const R& r) { return r.IOffset; }, -35},
        {"QOffset_not_a_number_is_0", BB, [](P& p) { p.qOffsetText = "x"; }, [](const R& r) { return r.QOffset; }, 0},
    };
    return rows;
}

class RecordFieldTest : public ::testing::TestWithParam<FieldRow> {};

TEST_P(RecordFieldTest, FieldFollowsTheControls) {
    const FieldRow& row = GetParam();
    TransformRequest request = startRequest(row.kind);
    row.set(request.panel);
    EXPECT_EQ(row.field(recordOf(request)), row.expected);
}

INSTANTIATE_TEST_SUITE_P(RecordTable, RecordFieldTest, ::testing::ValuesIn(fieldRows()),
                         [](const auto& row) { return std::string(row.param.name); });

struct MarkerRow {
    const char* name;
    TransformKind kind;
    bool modeOn;
    int option;
    bool mark1;
    bool mark2;
    int32_t expected;
};

// Rows are named in test output by their name, not by a dump of their bytes.
void PrintTo(const MarkerRow& row, std::ostream* os) { *os << row.name; }

class MarkerFlagsTest : public ::testing::TestWithParam<MarkerRow> {};

TEST_P(MarkerFlagsTest, FlagsFollowTheMarkerGroup) {
    const MarkerRow& row = GetParam();
    TransformRequest request = startRequest(row.kind);
    request.panel.markerModeOn = row.modeOn;
    request.panel.markOption = row.option;
    request.panel.mark1On = row.mark1;
    request.panel.mark2On = row.mark2;
    EXPECT_EQ(recordOf(request).MarkerFlags, row.expected);
}

INSTANTIATE_TEST_SUITE_P(
    MarkerGroup, MarkerFlagsTest,
    ::testing::Values(
        MarkerRow{"off_nothing_checked", BB, false, 0, false, false, HALVIK_MARKER_GROUP_OFF},
        MarkerRow{"off_both_boxes_still_counted", BB, false, 1, true, true,
                  HALVIK_MARKER_GROUP_OFF | HALVIK_MARKER_1_LINE | HALVIK_MARKER_2_LINE},
        MarkerRow{"off_both_boxes_IF", IF, false, 0, true, true,
                  HALVIK_MARKER_GROUP_OFF | HALVIK_MARKER_1_LINE | HALVIK_MARKER_2_LINE},
        MarkerRow{"auto_edit_BaseBand", BB, true, 0, false, false, HALVIK_MARKER_MODE_SEQ | HALVIK_MARKER_BOTH_LINES},
        MarkerRow{"auto_edit_IF", IF, true, 0, false, false, HALVIK_MARKER_BOTH_LINES},
        MarkerRow{"auto_edit_marker1_BaseBand", BB, true, 0, true, false,
                  HALVIK_MARKER_MODE_SEQ | HALVIK_MARKER_BOTH_LINES | HALVIK_MARKER_1_LINE},
        MarkerRow{"manual_edit_both", BB, true, 1, true, true,
                  HALVIK_MARKER_MODE_WFM | HALVIK_MARKER_1_LINE | HALVIK_MARKER_2_LINE},
        MarkerRow{"manual_edit_marker2_IF", IF, true, 1, false, true, HALVIK_MARKER_MODE_WFM | HALVIK_MARKER_2_LINE},
        MarkerRow{"no_option_selected", BB, true, -1, true, false, HALVIK_MARKER_1_LINE}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(RecordBuilder, EveryGroupOffStillCarriesTheTypedValues) {
    TransformRequest request = startRequest(BB);
    request.panel.loopNumText = "7";
    request.panel.iOutputText = "1200";
    request.panel.qOutputText = "800";
    request.panel.iOffsetText = "-15";
    request.panel.qOffsetText = "25";
    const ConversionSettings r = recordOf(request);
    EXPECT_EQ(r.IQFilter, -1);
    EXPECT_EQ(r.StartTrigger, -1);
    EXPECT_EQ(r.OutputSequence, -1);
    EXPECT_EQ(r.IQOutput, -1);
    EXPECT_EQ(r.IQOffset, -1);
    EXPECT_EQ(r.LoopNum, 7);
    EXPECT_EQ(r.IOutputGain, 1200);
    EXPECT_EQ(r.QOutputGain, 800);
    EXPECT_EQ(r.IOffset, -15);
    EXPECT_EQ(r.QOffset, 25);
}

struct PeakRow {
    double peakI;
    double peakQ;
    double expected;
};

TEST(RecordBuilder, PeakValueIsTheLargerMagnitude) {
    for (const PeakRow& row : {PeakRow{2.0, 3.5, 3.5}, PeakRow{0.0, 0.0, 0.0}, PeakRow{-4.0, 3.0, 4.0},
                               PeakRow{1.5, -1.5, 1.5}, PeakRow{7.0, 0.0, 7.0}}) {
        TransformRequest request = startRequest(BB);
        request.input.PeakI = row.peakI;
        request.input.PeakQ = row.peakQ;
        EXPECT_EQ(planTransform(request).arguments.peakValue, row.expected) << row.peakI << " " << row.peakQ;
    }
}

struct PathRow {
    const char* name;
    int32_t kind;
    const char* iPath;
    const char* qPath;
};

TEST(RecordBuilder, PathsFollowTheInputFileKind) {
    for (const PathRow& row : {PathRow{"none", 0, "/i.txt", "/q.txt"}, PathRow{"I only", 1, "/i.txt", "/q.txt"},
                               PathRow{"Q only", 2, "/i.txt", "/q.txt"}, PathRow{"I and Q", 3, "/i.txt", "/q.txt"},
                               PathRow{"one IQ file", 4, "/iq.csv", ""}}) {
        TransformRequest request = startRequest(IF);
        request.input.InputFileKind = row.kind;
        request.input.IQFilePath = "/iq.csv";
        request.input.IFilePath = "/i.txt";
        request.input.QFilePath = "/q.txt";
        const HalvikArguments args = planTransform(request).arguments;
        EXPECT_EQ(args.iPath, row.iPath) << row.name;
        EXPECT_EQ(args.qPath, row.qPath) << row.name;
        EXPECT_EQ(args.inputFileKind, row.kind) << row.name;
    }
}

TEST(RecordBuilder, NothingLoadedStillGivesACall) {
    TransformRequest request;
    const TransformPlan plan = planTransform(request);
    ASSERT_TRUE(plan.ok());
    EXPECT_EQ(plan.arguments.iPath, "");
    EXPECT_EQ(plan.arguments.qPath, "");
    EXPECT_EQ(plan.arguments.inputFileKind, 0);
    EXPECT_EQ(plan.arguments.inputDataType, 0);
    EXPECT_EQ(plan.arguments.sampleCount, 0);
    EXPECT_EQ(plan.arguments.peakValue, 0.0);
}

struct GainRow {
    const char* text;
    bool passes;
};

TEST(RecordBuilder, DataFullScaleLimits) {
    for (TransformKind kind : {BB, IF}) {
        for (const GainRow& row :
             {GainRow{"0", true}, GainRow{"1", true}, GainRow{"1.0", true}, GainRow{"", true}, GainRow{"letters", true},
              GainRow{"1.0001", false}, GainRow{"-0.1", false}, GainRow{"1e400", false}}) {
            TransformRequest request = startRequest(kind);
            request.panel.awgGainText = row.text;
            const TransformPlan plan = planTransform(request);
            if (row.passes) {
                EXPECT_TRUE(plan.ok()) << row.text;
            } else {
                ASSERT_EQ(plan.problems.size(), 1u) << row.text;
                EXPECT_EQ(plan.problems[0].field, "TxtAWGGain");
                EXPECT_EQ(plan.problems[0].message, "AWG Gain Error.");
                EXPECT_EQ(problemsText(plan.problems), "AWG Gain Error.");
            }
        }
    }
}

TEST(RecordBuilder, SpecifyDataSizeReplacesTheCount) {
    TransformRequest request = startRequest(BB);
    request.specifyDataSize = true;
    request.dataSizeText = " 1000.5 ";
    const TransformPlan plan = planTransform(request);
    ASSERT_TRUE(plan.ok());
    ASSERT_TRUE(plan.dataSize.has_value());
    EXPECT_EQ(*plan.dataSize, 1000);  // half to even
    EXPECT_EQ(plan.arguments.sampleCount, 1000);

    request.specifyDataSize = false;
    const TransformPlan unchecked = planTransform(request);
    EXPECT_FALSE(unchecked.dataSize.has_value());
    EXPECT_EQ(unchecked.arguments.sampleCount, 4096);
}

// The order of the first two steps differs: IF stores the size before the
// data full scale check stops it, BaseBand stops before storing it.
TEST(RecordBuilder, BadDataFullScaleAfterOrBeforeTheSizeStep) {
    TransformRequest request = startRequest(IF);
    request.specifyDataSize = true;
    request.dataSizeText = "2000";
    request.panel.awgGainText = "2";
    const TransformPlan ifPlan = planTransform(request);
    EXPECT_FALSE(ifPlan.ok());
    ASSERT_TRUE(ifPlan.dataSize.has_value());
    EXPECT_EQ(*ifPlan.dataSize, 2000);

    request.kind = BB;
    const TransformPlan bbPlan = planTransform(request);
    EXPECT_FALSE(bbPlan.ok());
    EXPECT_FALSE(bbPlan.dataSize.has_value());
}

struct ProblemRow {
    const char* name;
    TransformKind kind;
    std::function<void(TransformRequest&)> set;
    std::vector<std::string> fields;
};

// Rows are named in test output by their name, not by a dump of their bytes.
void PrintTo(const ProblemRow& row, std::ostream* os) { *os << row.name; }

class FieldProblemTest : public ::testing::TestWithParam<ProblemRow> {};

TEST_P(FieldProblemTest, NamesTheFieldsAndChangesNothing) {
    const ProblemRow& row = GetParam();
    TransformRequest request = startRequest(row.kind);
    row.set(request);
    const TransformPlan plan = planTransform(request);
    std::vector<std::string> fields;
    for (const FieldProblem& problem : plan.problems) {
        fields.push_back(problem.field);
        EXPECT_FALSE(problem.message.empty());
    }
    EXPECT_EQ(fields, row.fields);
    EXPECT_FALSE(plan.dataSize.has_value()) << "a stopped command must not change DataSize";
}

INSTANTIATE_TEST_SUITE_P(
    UnusableValues, FieldProblemTest,
    ::testing::Values(
        ProblemRow{"Fs_not_a_number", BB, [](TransformRequest& r) { r.panel.fsText = "200MHz"; }, {"TxtFs"}},
        ProblemRow{"Fs_empty", IF, [](TransformRequest& r) { r.panel.fsText = ""; }, {"TxtFs"}},
        ProblemRow{"Fs_product_too_large", BB, [](TransformRequest& r) { r.panel.fsText = "1e305"; }, {"TxtFs"}},
        ProblemRow{"Fs_zero_for_IF", IF, [](TransformRequest& r) { r.panel.fsText = "0"; }, {"TxtFs"}},
        ProblemRow{"Fs_negative_for_IF", IF, [](TransformRequest& r) { r.panel.fsText = "-1"; }, {"TxtFs"}},
        ProblemRow{"IFFreq_not_a_number", IF, [](TransformRequest& r) { r.panel.ifFreqText = "21,4"; }, {"TxtIFFreq"}},
        ProblemRow{"IFFreq_too_large", IF, [](TransformRequest& r) { r.panel.ifFreqText = "-1e305"; }, {"TxtIFFreq"}},
        ProblemRow{"DataSize_not_a_number",
                   BB,
                   [](TransformRequest& r) {
                       r.specifyDataSize = true;
                       r.dataSizeText = "12a";
                   },
                   {"TxtDataSizeI"}},
        ProblemRow{"DataSize_below_1",
                   IF,
                   [](TransformRequest& r) {
                       r.specifyDataSize = true;
                       r.dataSizeText = "0.6";
                   },
                   {"TxtDataSizeI"}},
        ProblemRow{"DataSize_beyond_int32",
                   BB,
                   [](TransformRequest& r) {
                       r.specifyDataSize = true;
                       r.dataSizeText = "3e9";
                   },
                   {"TxtDataSizeI"}},
        ProblemRow{"DataSize_beyond_the_waveform_file",
                   IF,
                   [](TransformRequest& r) {
                       r.specifyDataSize = true;
                       r.dataSizeText = "268435456";
                   },
                   {"TxtDataSizeI"}},
        ProblemRow{"LoopNum_beyond_int32",
                   BB,
                   [](TransformRequest& r) { r.panel.loopNumText = "2147483647.5"; },
                   {"TxtLoopNum"}},
        ProblemRow{"gains_and_offsets_beyond_int32",
                   IF,
                   [](TransformRequest& r) {
                       r.panel.iOutputText = "1e10";
                       r.panel.qOutputText = "-1e10";
                       r.panel.iOffsetText = "3000000000";
                       r.panel.qOffsetText = "-2147483649";
                   },
                   {"TxtIOutput", "TxtQOutput", "TxtIOffset", "TxtQOffset"}},
        ProblemRow{"all_reported_together",
                   IF,
                   [](TransformRequest& r) {
                       r.panel.fsText = "x";
                       r.panel.ifFreqText = "y";
                       r.specifyDataSize = true;
                       r.dataSizeText = "";
                       r.panel.loopNumText = "9e99";
                   },
                   {"TxtFs", "TxtIFFreq", "TxtDataSizeI", "TxtLoopNum"}}),
    [](const auto& row) { return std::string(row.param.name); });

struct EdgeRow {
    const char* name;
    std::function<void(TransformRequest&)> set;
};

// Values next to the limits are accepted.
TEST(RecordBuilder, ValuesAtTheLimitsPass) {
    for (const EdgeRow& row : std::vector<EdgeRow>{
             {"int32 max", [](TransformRequest& r) { r.panel.loopNumText = "2147483647.4"; }},
             {"int32 min half to even", [](TransformRequest& r) { r.panel.iOffsetText = "-2147483648.5"; }},
             {"data size 1",
              [](TransformRequest& r) {
                  r.specifyDataSize = true;
                  r.dataSizeText = "1";
              }},
             {"unchecked size text ignored", [](TransformRequest& r) { r.dataSizeText = "junk"; }},
             {"BaseBand ignores carrier text", [](TransformRequest& r) { r.panel.ifFreqText = "junk"; }},
             {"BaseBand negative Fs", [](TransformRequest& r) { r.panel.fsText = "-5"; }}}) {
        TransformRequest request = startRequest(BB);
        row.set(request);
        EXPECT_TRUE(planTransform(request).ok()) << row.name;
    }
    TransformRequest request = startRequest(BB);
    request.panel.loopNumText = "2147483647.4";
    request.panel.iOffsetText = "-2147483648.5";
    const ConversionSettings r = recordOf(request);
    EXPECT_EQ(r.LoopNum, 2147483647);
    EXPECT_EQ(r.IOffset, -2147483647 - 1);
}

TEST(RecordBuilder, ProblemsTextHasOneLineEach) {
    EXPECT_EQ(problemsText({{"A", "first"}, {"B", "second"}}), "first\nsecond");
    EXPECT_EQ(problemsText({}), "");
}

}  // namespace
}  // namespace orvenda
