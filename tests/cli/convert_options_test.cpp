// The options of "convert" as the panel a user would have set: each row
// gives options and the panel values, kind, size and files they stand for.
#include "cli/convert_options.h"

#include <gtest/gtest.h>

#include <ostream>

#include <functional>

#include "cli/input_formats.h"
#include "cli/input_loading.h"

namespace orvenda::cli {
namespace {

using settings::PanelSnapshot;

ConvertArguments withInput(std::function<void(ConvertArguments&)> set) {
    ConvertArguments a;
    a.inputs = {"in.MNT"};
    a.output = "out.awv";
    set(a);
    return a;
}

struct PanelCase {
    const char* name;
    std::function<void(ConvertArguments&)> options;
    std::function<void(PanelSnapshot&)> expected;  // changes from the panel at start
};

void PrintTo(const PanelCase& row, std::ostream* out) { *out << row.name; }

std::vector<PanelCase> panelCases() {
    return {
        {"Nothing", [](ConvertArguments&) {}, [](PanelSnapshot&) {}},
        {"FilterAnyCase", [](ConvertArguments& a) { a.iqFilter = "THROUGH"; },
         [](PanelSnapshot& p) {
             p.iqFilterOn = true;
             p.filterIndex = 2;
         }},
        {"FullScaleAsEntered", [](ConvertArguments& a) { a.dataFullScale = "0.50"; },
         [](PanelSnapshot& p) { p.awgGainText = "0.5"; }},
        {"OffsetQFollowsI", [](ConvertArguments& a) { a.iqOffset = "-35"; },
         [](PanelSnapshot& p) {
             p.iqOffsetOn = true;
             p.iOffsetText = "-35";
             p.qOffsetText = "-35";
         }},
        {"OffsetBoth", [](ConvertArguments& a) { a.iqOffset = "+750,-750"; },
         [](PanelSnapshot& p) {
             p.iqOffsetOn = true;
             p.iOffsetText = "750";
             p.qOffsetText = "-750";
         }},
        {"FixPath", [](ConvertArguments& a) { a.iqOutput = "fix"; },
         [](PanelSnapshot& p) {
             p.iqOutputOn = true;
             p.iqOutputOption = 0;
         }},
        {"VarPathLevels",
         [](ConvertArguments& a) {
             a.iqOutput = "var";
             a.iqOutputLevel = "200,2000";
         },
         [](PanelSnapshot& p) {
             p.iqOutputOn = true;
             p.iqOutputOption = 1;
             p.iOutputText = "200";
             p.qOutputText = "2000";
         }},
        {"SequenceBringsTheTrigger", [](ConvertArguments& a) { a.sequence = "single"; },
         [](PanelSnapshot& p) {
             p.outputSequenceOn = p.startTriggerOn = true;
             p.outputSequenceOption = 1;
         }},
        {"TriggerBringsTheSequence",
         [](ConvertArguments& a) {
             a.startTrigger = "link";
             a.triggerPolarity = "negative";
         },
         [](PanelSnapshot& p) {
             p.outputSequenceOn = p.startTriggerOn = true;
             p.startTriggerOption = 1;
             p.linkOption = 1;
         }},
        {"SingleLoops",
         [](ConvertArguments& a) {
             a.sequence = "single";
             a.loops = "65536";
         },
         [](PanelSnapshot& p) {
             p.outputSequenceOn = p.startTriggerOn = true;
             p.outputSequenceOption = 1;
             p.loopNumText = "65536";
         }},
        {"GatedLevel",
         [](ConvertArguments& a) {
             a.sequence = "gated";
             a.startTrigger = "link";
             a.gate = "level";
         },
         [](PanelSnapshot& p) {
             p.outputSequenceOn = p.startTriggerOn = true;
             p.outputSequenceOption = 2;
             p.startTriggerOption = 1;
             p.gatedOption = 1;
         }},
        {"FsAsEntered", [](ConvertArguments& a) { a.fs = "12.5"; },
         [](PanelSnapshot& p) { p.fsText = "12.500000000000"; }},
        {"FsElevenDecimals", [](ConvertArguments& a) { a.fs = "100.12345678901"; },
         [](PanelSnapshot& p) { p.fsText = "100.123456789010"; }},
        {"MarkerModeAuto", [](ConvertArguments& a) { a.markerMode = "auto"; },
         [](PanelSnapshot& p) {
             p.markerModeOn = true;
             p.markOption = 0;
         }},
        {"IfOffsetCarrier",
         [](ConvertArguments& a) {
             a.ifMode = "offset";
             a.carrier = "-2.50";
         },
         [](PanelSnapshot& p) {
             p.ifOption = 1;
             p.ifFreqText = "-2.5";
         }},
        {"Inverse", [](ConvertArguments& a) { a.iqInverse = true; }, [](PanelSnapshot& p) { p.iqInverse = true; }},
    };
}

void expectSamePanel(const PanelSnapshot& got, const PanelSnapshot& want) {
    EXPECT_EQ(got.iqFilterOn, want.iqFilterOn);
    EXPECT_EQ(got.filterIndex, want.filterIndex);
    EXPECT_EQ(got.iqInverse, want.iqInverse);
    EXPECT_EQ(got.awgGainText, want.awgGainText);
    EXPECT_EQ(got.iqOffsetOn, want.iqOffsetOn);
    EXPECT_EQ(got.iOffsetText, want.iOffsetText);
    EXPECT_EQ(got.qOffsetText, want.qOffsetText);
    EXPECT_EQ(got.iqOutputOn, want.iqOutputOn);
    EXPECT_EQ(got.iqOutputOption, want.iqOutputOption);
    EXPECT_EQ(got.iOutputText, want.iOutputText);
    EXPECT_EQ(got.qOutputText, want.qOutputText);
    EXPECT_EQ(got.outputSequenceOn, want.outputSequenceOn);
    EXPECT_EQ(got.outputSequenceOption, want.outputSequenceOption);
    EXPECT_EQ(got.gatedOption, want.gatedOption);
    EXPECT_EQ(got.loopNumText, want.loopNumText);
    EXPECT_EQ(got.startTriggerOn, want.startTriggerOn);
    EXPECT_EQ(got.startTriggerOption, want.startTriggerOption);
    EXPECT_EQ(got.linkOption, want.linkOption);
    EXPECT_EQ(got.fsText, want.fsText);
    EXPECT_EQ(got.markerModeOn, want.markerModeOn);
    EXPECT_EQ(got.markOption, want.markOption);
    EXPECT_EQ(got.mark1On, want.mark1On);
    EXPECT_EQ(got.mark2On, want.mark2On);
    EXPECT_EQ(got.ifOption, want.ifOption);
    EXPECT_EQ(got.ifFreqText, want.ifFreqText);
}

class PanelFromOptions : public ::testing::TestWithParam<PanelCase> {};

TEST_P(PanelFromOptions, AsTheUserWouldHaveSetIt) {
    ConvertPlan plan = planConvert(withInput(GetParam().options));
    PanelSnapshot want;
    GetParam().expected(want);
    expectSamePanel(plan.panel, want);
}

INSTANTIATE_TEST_SUITE_P(Table, PanelFromOptions, ::testing::ValuesIn(panelCases()),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(ConvertPlan, KindAndDataSize) {
    EXPECT_EQ(planConvert(withInput([](ConvertArguments&) {})).kind, TransformKind::BaseBand);
    ConvertPlan plan = planConvert(withInput([](ConvertArguments& a) {
        a.ifMode = "real";
        a.dataSize = "1e3";
    }));
    EXPECT_EQ(plan.kind, TransformKind::IF);
    EXPECT_EQ(plan.dataSizeText, "1000");
}

TEST(ConvertPlan, OutputNamesInAFolder) {
    ConvertArguments a;
    a.inputs = {"x/a.i", "y/b.i"};
    a.outputDir = "out";
    ConvertPlan plan = planConvert(a);
    EXPECT_EQ(plan.format, InputFormat::IText);
    ASSERT_EQ(plan.jobs.size(), 2u);
    EXPECT_EQ(plan.jobs[0].inputs.iText, "x/a.i");
    EXPECT_FALSE(plan.jobs[0].inputs.qText);
    EXPECT_EQ(plan.jobs[1].output, "out/b.awv");
}

TEST(ConvertPlan, ChannelFilesMakeOneJob) {
    ConvertArguments a;
    a.qFile = "q.txt";
    a.iFile = "i.txt";
    a.outputDir = "out";
    ConvertPlan plan = planConvert(a);
    ASSERT_EQ(plan.jobs.size(), 1u);
    EXPECT_EQ(plan.jobs[0].inputs.iText, "i.txt");
    EXPECT_EQ(plan.jobs[0].inputs.qText, "q.txt");
    EXPECT_EQ(plan.jobs[0].output, "out/i.awv");
}

struct EndingCase {
    const char* name;
    std::optional<InputFormat> format;
};

TEST(InputFormats, FromTheNameEnding) {
    const std::vector<EndingCase> cases = {
        {"a.i", InputFormat::IText},
        {"dir.q/a.Q", InputFormat::QText},
        {"a.CSV", InputFormat::Csv},
        {"a.Csv", InputFormat::Csv},
        {"a.mnt", InputFormat::BinaryShort},
        {"a.TXD", InputFormat::BinaryFloat},
        {"a.dat", std::nullopt},
        {".i", std::nullopt},
        {"dir/.q", std::nullopt},
        {"a.iq", std::nullopt},
        {"a.i.bak", std::nullopt},
    };
    for (const EndingCase& c : cases) EXPECT_EQ(formatFromFileName(c.name), c.format) << c.name;
    EXPECT_EQ(formatNamed("Float"), InputFormat::BinaryFloat);
    EXPECT_EQ(formatNamed("wav"), std::nullopt);
}

TEST(MarkerWarnings, WhatTheEngineWillNotUse) {
    std::vector<MarkerPoint> rising = {{0, 1}, {10, 0}, {20, 1}};
    EXPECT_TRUE(markerListWarnings(rising, markers::MarkerNumber::One).empty());
    std::vector<MarkerPoint> backwards = {{5, 1}, {3, 0}, {20, 1}};
    std::vector<std::string> warnings = markerListWarnings(backwards, markers::MarkerNumber::Two);
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_NE(warnings[0].find("marker 2: point 2 (Pos 3)"), std::string::npos) << warnings[0];
    std::vector<MarkerPoint> negative = {{-1, 1}};
    EXPECT_EQ(markerListWarnings(negative, markers::MarkerNumber::One).size(), 1u);
    std::vector<MarkerPoint> many;
    for (int k = 0; k < 150; ++k) many.push_back({k, k % 2});
    warnings = markerListWarnings(many, markers::MarkerNumber::One);
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_NE(warnings[0].find("only the first " + std::to_string(HALVIK_MARKER_ENTRIES_WALKED) + " of 150"),
              std::string::npos);
}

}  // namespace
}  // namespace orvenda::cli
