// The settings of a waveform header: for every combination of header lines a
// transform can write, the panel set from the header writes the same lines;
// headers the panel could not have written are refused naming the line.
#include <gtest/gtest.h>

#include <cstddef>
#include <ctime>
#include <string>
#include <vector>

#include "core/profiles/header_profile.h"
#include "core/profiles/profile_snapshot.h"
#include "core/transform/settings_record.h"
#include "engine/halvik_header.h"

namespace orvenda::profiles {
namespace {

using settings::PanelSnapshot;

constexpr int32_t kSamples = 4096;

std::tm fixedTime() {
    std::tm t{};
    t.tm_year = 126;
    t.tm_mon = 11;
    t.tm_mday = 9;
    return t;
}

// The header lines a transform writes for the panel.
std::string headerOf(const PanelSnapshot& panel, TransformKind kind) {
    TransformRequest request;
    request.kind = kind;
    request.panel = panel;
    request.input.DataSize = kSamples;
    const TransformPlan plan = planTransform(request);
    EXPECT_TRUE(plan.ok()) << problemsText(plan.problems);
    const halvik::HeaderResult header = halvik::conversionHeader(plan.arguments.settings, kSamples, fixedTime());
    EXPECT_TRUE(header.complete);
    return header.text;
}

std::vector<halvik::AwvHeaderLine> linesOf(const std::string& header) {
    const std::string file = header + "{WAVEDATA:0;}";
    const auto* bytes = reinterpret_cast<const std::byte*>(file.data());
    halvik::AwvReadResult read = halvik::readAwv(std::span<const std::byte>(bytes, file.size()));
    if (const auto* error = std::get_if<halvik::AwvError>(&read)) {
        ADD_FAILURE() << error->describe() << "\n" << header;
        return {};
    }
    return std::get<halvik::AwvSummary>(read).lines;
}

// The sequence/trigger combinations of the panel: off, Internal with
// Continuous or Single, Link with either polarity and every sequence.
std::vector<void (*)(PanelSnapshot&)> sequenceCases() {
    return {
        [](PanelSnapshot&) {},
        [](PanelSnapshot& p) { p.outputSequenceOn = p.startTriggerOn = true; },
        [](PanelSnapshot& p) {
            p.outputSequenceOn = p.startTriggerOn = true;
            p.outputSequenceOption = 1;
            p.loopNumText = "7";
        },
        [](PanelSnapshot& p) {
            p.outputSequenceOn = p.startTriggerOn = true;
            p.startTriggerOption = 1;
        },
        [](PanelSnapshot& p) {
            p.outputSequenceOn = p.startTriggerOn = true;
            p.startTriggerOption = 1;
            p.linkOption = 1;
        },
        [](PanelSnapshot& p) {
            p.outputSequenceOn = p.startTriggerOn = true;
            p.startTriggerOption = 1;
            p.outputSequenceOption = 1;
            p.loopNumText = "65536";
        },
        [](PanelSnapshot& p) {
            p.outputSequenceOn = p.startTriggerOn = true;
            p.startTriggerOption = 1;
            p.linkOption = 1;
            p.outputSequenceOption = 1;
            p.loopNumText = "1";
        },
        [](PanelSnapshot& p) {
            p.outputSequenceOn = p.startTriggerOn = true;
            p.startTriggerOption = 1;
            p.outputSequenceOption = 2;
        },
        [](PanelSnapshot& p) {
            p.outputSequenceOn = p.startTriggerOn = true;
            p.startTriggerOption = 1;
            p.outputSequenceOption = 2;
            p.gatedOption = 1;
        },
        [](PanelSnapshot& p) {
            p.outputSequenceOn = p.startTriggerOn = true;
            p.startTriggerOption = 1;
            p.linkOption = 1;
            p.outputSequenceOption = 2;
            p.gatedOption = 1;
        },
    };
}

TEST(HeaderProfile, EveryCombinationOfHeaderLinesIsWrittenAgain) {
    const char* const fsTexts[] = {"200.000000000000", "12.500000000000", "61.440000000000", "123.456789012340"};
    int combinations = 0;
    for (TransformKind kind : {TransformKind::BaseBand, TransformKind::IF})
        for (int filter = -1; filter < 3; ++filter)
            for (int output = 0; output < 4; ++output)
                for (int offset = 0; offset < 3; ++offset)
                    for (auto sequence : sequenceCases())
                        for (int marker = 0; marker < 9; ++marker) {
                            PanelSnapshot panel;
                            panel.iqFilterOn = filter >= 0;
                            panel.filterIndex = filter >= 0 ? filter : 1;
                            panel.iqOutputOn = output > 0;
                            panel.iqOutputOption = output >= 2 ? 1 : 0;
                            if (output == 3) {
                                panel.iOutputText = "1235";
                                panel.qOutputText = "200";
                            }
                            panel.iqOffsetOn = offset > 0;
                            if (offset == 2) {
                                panel.iOffsetText = "-750";
                                panel.qOffsetText = "5";
                            }
                            sequence(panel);
                            // 0-3: marker output off with the ON boxes as they were left;
                            // 4-7: Manual Edit; 8: Auto Edit.
                            panel.markerModeOn = marker >= 4;
                            panel.markOption = marker == 8 ? 0 : 1;
                            panel.mark1On = marker < 8 && (marker & 1) != 0;
                            panel.mark2On = marker < 8 && (marker & 2) != 0;
                            panel.fsText = fsTexts[combinations % 4];

                            const std::string header = headerOf(panel, kind);
                            auto mapped = profileFromHeader(linesOf(header), SettingsProfile{});
                            ASSERT_TRUE(std::holds_alternative<HeaderSettings>(mapped))
                                << std::get<ProfileError>(mapped).message << "\n"
                                << header;
                            const HeaderSettings& settings = std::get<HeaderSettings>(mapped);
                            ASSERT_EQ(headerOf(snapshotOf(settings.profile), kind), header);
                            ASSERT_FALSE(settings.untold.empty());
                            ++combinations;
                        }
    EXPECT_EQ(combinations, 2 * 4 * 4 * 3 * 10 * 9);
}

TEST(HeaderProfile, KeepsWhatTheHeaderCannotTellAndListsIt) {
    SettingsProfile base;
    base.dataFullScale = 0.5;
    base.iOffset = base.qOffset = -20;
    base.loops = 9;
    base.marker1Points = {{0, 1}, {100, 0}};
    const std::string header =
        "{DATE:2026/12/09;10:00:00}\n{IQOUTPUT:FIX}\n{STARTTRIGGER:INT;POS}\n"
        "{OUTPUTSEQUENCE:CONT}\n{SAMPLINGFREQ:61440000.000000}\n";
    auto mapped = profileFromHeader(linesOf(header), base);
    ASSERT_TRUE(std::holds_alternative<HeaderSettings>(mapped)) << std::get<ProfileError>(mapped).message;
    const HeaderSettings& s = std::get<HeaderSettings>(mapped);
    EXPECT_TRUE(s.profile.iqOutputOn);
    EXPECT_TRUE(s.profile.outputSequenceOn);
    EXPECT_EQ(s.profile.samplingFrequencyMHz, 61.44);
    EXPECT_EQ(s.profile.dataFullScale, 0.5);
    EXPECT_EQ(s.profile.iOffset, -20);
    EXPECT_EQ(s.profile.loops, 9);
    EXPECT_EQ(s.profile.marker1Points.size(), 2u);
    const std::string untold = joinedList(s.untold);
    for (const char* item : {"Data Full Scale", "Loop Num", "I/Q Offset values", "I/Q Output levels",
                             "change points of Marker1 and Marker2", "Link polarity"})
        EXPECT_NE(untold.find(item), std::string::npos) << untold;
}

TEST(HeaderProfile, DifferentIAndQSwitchTheInterlockOff) {
    auto mapped = profileFromHeader(
        linesOf("{IQOFFSET:-5.000000E-003;1.000000E-002}\n{SAMPLINGFREQ:200000000.000000}\n"), SettingsProfile{});
    ASSERT_TRUE(std::holds_alternative<HeaderSettings>(mapped)) << std::get<ProfileError>(mapped).message;
    const SettingsProfile& p = std::get<HeaderSettings>(mapped).profile;
    EXPECT_FALSE(p.iqOffsetInterlock);
    EXPECT_EQ(p.iOffset, -5);
    EXPECT_EQ(p.qOffset, 10);
}

TEST(HeaderProfile, RefusesHeadersThePanelCannotWriteNamingTheLine) {
    const std::string fs = "{SAMPLINGFREQ:200000000.000000}\n";
    const struct {
        std::string header;
        const char* expected;
    } rows[] = {
        {"{IQOUTPUT:OFF}\n" + fs, "line {IQOUTPUT:OFF} (byte 0): the panel has no OFF output path"},
        {"{IQOUTPUT:VAR}\n" + fs, "{IQOUTPUT:VAR} (byte 0): the panel writes an IQGAIN line"},
        {"{IQOUTPUT:FIX}\n{IQGAIN:1.000000E+000;1.000000E+000}\n" + fs,
         "{IQGAIN:1.000000E+000;1.000000E+000} (byte 15)"},
        {"{IQOUTPUT:VAR}\n{IQGAIN:2.500000E+000;1.000000E+000}\n" + fs,
         "\"2.500000E+000\" is outside the panel's limits 200 to 2000"},
        {"{IQOFFSET:1.200000E-002;1.000000E-002}\n" + fs, "\"1.200000E-002\" is not a value the panel writes"},
        {"{STARTTRIGGER:INT;POS}\n" + fs,
         "{STARTTRIGGER:INT;POS} (byte 0): the panel writes it together with an OUTPUTSEQUENCE"},
        {"{OUTPUTSEQUENCE:CONT}\n" + fs,
         "{OUTPUTSEQUENCE:CONT} (byte 0): the panel writes it together with a STARTTRIGGER"},
        {"{STARTTRIGGER:INT;NEG}\n{OUTPUTSEQUENCE:CONT}\n" + fs, "INT;POS only"},
        {"{STARTTRIGGER:INT;POS}\n{OUTPUTSEQUENCE:GATE;EDGE}\n" + fs, "Gated only with the Link trigger"},
        {"{STARTTRIGGER:LINK;POS}\n{OUTPUTSEQUENCE:SINGLE;5}\n" + fs, "SINGL;n"},
        {"{STARTTRIGGER:LINK;POS}\n{OUTPUTSEQUENCE:SINGL;0}\n" + fs,
         "loop count is outside the panel's limits 1 to 65536"},
        {"{IQFILTER:THR}\n", "no SAMPLINGFREQ line"},
        {"{SAMPLINGFREQ:250000000.000000}\n", "outside the panel's limits 12.5 to 200 MHz"},
        {"{SAMPLINGFREQ:61440000.000001}\n", "not a frequency the panel holds"},
        {fs + "{MARKER1:OFF;POS;0;5;5;1}\n", "{MARKER1:OFF;POS;0;5;5;1} (byte 32): the panel writes MARKER1 lines"},
        {fs + "{MARKER2:ON;POS;3;5;5;1}\n", "the panel writes MARKER2 lines as ON;POS;0;n;n;1"},
        {fs + "{MARKER1:ON;POS;0;5;5;1}\n{MARKERMODE:SEQ}\n", "with Auto Edit the panel writes both"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.header);
        auto mapped = profileFromHeader(linesOf(row.header), SettingsProfile{});
        ASSERT_TRUE(std::holds_alternative<ProfileError>(mapped));
        EXPECT_NE(std::get<ProfileError>(mapped).message.find(row.expected), std::string::npos)
            << std::get<ProfileError>(mapped).message;
    }
}

}  // namespace
}  // namespace orvenda::profiles
