// The panel file format of the progress run-time layer: what it accepts,
// what makes it malformed, and that no byte sequence can upset the parser.
#include <gtest/gtest.h>
#include <ostream>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <random>
#include <set>
#include <string>

#include "engine/rte/panel_file.h"

namespace halvik::rte {
namespace {

const std::string kValid =
    "# a comment\n"
    "orvenda-uir 1\n"
    "\n"
    "panel 1 380 120 Halvik progress\n"
    "  control 1 label Please wait\n"
    "\tcontrol 2 progress Preparing...\n"
    "end\n"
    "panel 7 100 2000\n"
    "control 2 label\n"
    "end\n";

TEST(PanelFileTest, ReadsPanelsAndControlsInOrder) {
    const PanelFileResult result = parsePanelFile(kValid);
    ASSERT_TRUE(result.file) << result.error;
    ASSERT_EQ(result.file->panels.size(), 2u);

    const PanelDefinition* first = result.file->findPanel(1);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->width, 380);
    EXPECT_EQ(first->height, 120);
    EXPECT_EQ(first->title, "Halvik progress");
    ASSERT_EQ(first->controls.size(), 2u);
    EXPECT_EQ(first->controls[0].id, 1);
    EXPECT_EQ(first->controls[0].kind, ControlKind::Label);
    EXPECT_EQ(first->controls[0].text, "Please wait");
    EXPECT_EQ(first->controls[1].id, 2);
    EXPECT_EQ(first->controls[1].kind, ControlKind::Progress);
    EXPECT_EQ(first->controls[1].text, "Preparing...");

    const PanelDefinition* second = result.file->findPanel(7);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(second->title, "");
    ASSERT_NE(second->findControl(2), nullptr);
    EXPECT_EQ(second->findControl(2)->kind, ControlKind::Label);
    EXPECT_EQ(second->findControl(2)->text, "");
    EXPECT_EQ(result.file->findPanel(2), nullptr);
}

TEST(PanelFileTest, AcceptsCrLfLineEndsAndAMissingFinalLineFeed) {
    const PanelFileResult result = parsePanelFile("orvenda-uir 1\r\npanel 1 200 100 T\r\ncontrol 2 progress Go\r\nend");
    ASSERT_TRUE(result.file) << result.error;
    EXPECT_EQ(result.file->findPanel(1)->title, "T");
    EXPECT_EQ(result.file->findPanel(1)->findControl(2)->text, "Go");
}

TEST(PanelFileTest, AFileWithoutPanelsIsWellFormed) {
    const PanelFileResult result = parsePanelFile("orvenda-uir 1\n");
    ASSERT_TRUE(result.file) << result.error;
    EXPECT_TRUE(result.file->panels.empty());
}

TEST(PanelFileTest, TheInstalledPanelFileHoldsTheEnginesProgressPanel) {
    std::ifstream in(ORVENDA_PANEL_FILE_SOURCE, std::ios::binary);
    ASSERT_TRUE(in) << ORVENDA_PANEL_FILE_SOURCE;
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    const PanelFileResult result = parsePanelFile(bytes);
    ASSERT_TRUE(result.file) << result.error;
    const PanelDefinition* panel = result.file->findPanel(1);
    ASSERT_NE(panel, nullptr);
    ASSERT_NE(panel->findControl(2), nullptr);
    EXPECT_EQ(panel->findControl(2)->kind, ControlKind::Progress);
}

struct MalformedRow {
    const char* name;
    std::string bytes;
};

// Rows are named in test output by their name, not by a dump of their bytes.
void PrintTo(const MalformedRow& row, std::ostream* os) { *os << row.name; }

class MalformedPanelFileTest : public ::testing::TestWithParam<MalformedRow> {};

TEST_P(MalformedPanelFileTest, IsRejectedWithAReason) {
    const PanelFileResult result = parsePanelFile(GetParam().bytes);
    EXPECT_FALSE(result.file);
    EXPECT_FALSE(result.error.empty());
}

const std::string kHead = "orvenda-uir 1\n";

INSTANTIATE_TEST_SUITE_P(
    Rows, MalformedPanelFileTest,
    ::testing::Values(
        MalformedRow{"Empty", ""}, MalformedRow{"OnlyComments", "# nothing\n\n"},
        MalformedRow{"NoMagic", "panel 1 200 100 T\ncontrol 2 progress x\nend\n"},
        MalformedRow{"WrongVersion", "orvenda-uir 2\n"}, MalformedRow{"MagicWithTrailingWord", "orvenda-uir 1 extra\n"},
        MalformedRow{"UnknownStatement", kHead + "window 1\n"},
        MalformedRow{"PanelNotEnded", kHead + "panel 1 200 100 T\ncontrol 2 progress x\n"},
        MalformedRow{"PanelInsidePanel", kHead + "panel 1 200 100 T\npanel 2 200 100 U\nend\nend\n"},
        MalformedRow{"ControlOutsidePanel", kHead + "control 2 progress x\n"},
        MalformedRow{"EndOutsidePanel", kHead + "end\n"},
        MalformedRow{"TextAfterEnd", kHead + "panel 1 200 100 T\nend now\n"},
        MalformedRow{"PanelIdZero", kHead + "panel 0 200 100 T\nend\n"},
        MalformedRow{"PanelIdTooLarge", kHead + "panel 1000 200 100 T\nend\n"},
        MalformedRow{"PanelIdNegative", kHead + "panel -1 200 100 T\nend\n"},
        MalformedRow{"PanelIdNotANumber", kHead + "panel one 200 100 T\nend\n"},
        MalformedRow{"PanelIdHuge", kHead + "panel 99999999999999999999 200 100 T\nend\n"},
        MalformedRow{"PanelIdWithSign", kHead + "panel +1 200 100 T\nend\n"},
        MalformedRow{"PanelWithoutSize", kHead + "panel 1\nend\n"},
        MalformedRow{"PanelTooNarrow", kHead + "panel 1 99 100 T\nend\n"},
        MalformedRow{"PanelTooTall", kHead + "panel 1 200 2001 T\nend\n"},
        MalformedRow{"PanelTwice", kHead + "panel 1 200 100 T\nend\npanel 1 200 100 U\nend\n"},
        MalformedRow{"TitleTooLong", kHead + "panel 1 200 100 " + std::string(201, 'x') + "\nend\n"},
        MalformedRow{"ControlKindUnknown", kHead + "panel 1 200 100 T\ncontrol 2 slider x\nend\n"},
        MalformedRow{"ControlWithoutKind", kHead + "panel 1 200 100 T\ncontrol 2\nend\n"},
        MalformedRow{"ControlIdZero", kHead + "panel 1 200 100 T\ncontrol 0 progress x\nend\n"},
        MalformedRow{"ControlTwice", kHead + "panel 1 200 100 T\ncontrol 2 progress x\ncontrol 2 label y\nend\n"},
        MalformedRow{"ControlTextTooLong",
                     kHead + "panel 1 200 100 T\ncontrol 2 progress " + std::string(201, 'x') + "\nend\n"},
        MalformedRow{"NulByte", kHead + "panel 1 200 100 T" + std::string(1, '\0') + "\ncontrol 2 progress x\nend\n"},
        MalformedRow{"EscapeInText", kHead + "panel 1 200 100 T\ncontrol 2 progress \x1b[31mred\nend\n"},
        MalformedRow{"LoneCarriageReturn", kHead + "panel 1 200 100 T\rcontrol 2 progress x\nend\n"},
        MalformedRow{"TooLarge", kHead + std::string(kMaxPanelFileBytes, '#') + "\n"}),
    [](const ::testing::TestParamInfo<MalformedRow>& row) { return std::string(row.param.name); });

TEST(PanelFileTest, ErrorsNameTheLine) {
    const PanelFileResult result = parsePanelFile(kHead + "panel 1 200 100 T\ncontrol 2 dial x\nend\n");
    ASSERT_FALSE(result.file);
    EXPECT_NE(result.error.find("line 3"), std::string::npos) << result.error;
}

// Whatever the bytes, the parser returns; what it accepts keeps the format's
// promises (ids in range and unique, sizes in range, texts bounded).
TEST(PanelFileTest, MutatedFilesNeverBreakItsPromises) {
    std::mt19937 random(20261208);
    const std::string alphabet = "orvenda-uir 1\npanel control end label progress 0123456789#\t\r\n\x01\xff";
    int accepted = 0;
    for (int round = 0; round < 20000; ++round) {
        std::string bytes = kValid;
        const int edits = 1 + static_cast<int>(random() % 8);
        for (int e = 0; e < edits; ++e) {
            const std::size_t at = random() % (bytes.size() + 1);
            const char c = alphabet[random() % alphabet.size()];
            switch (random() % 3) {
            case 0: bytes.insert(bytes.begin() + static_cast<std::ptrdiff_t>(at), c); break;
            case 1:
                if (at < bytes.size()) bytes.erase(at, 1 + random() % 12);
                break;
            default:
                if (at < bytes.size()) bytes[at] = static_cast<char>(random() & 0xff);
                break;
            }
        }
        const PanelFileResult result = parsePanelFile(bytes);
        ASSERT_NE(result.file.has_value(), !result.error.empty());
        if (!result.file) continue;
        ++accepted;
        std::set<int> panelIds;
        for (const PanelDefinition& panel : result.file->panels) {
            ASSERT_TRUE(panelIds.insert(panel.id).second);
            ASSERT_GE(panel.id, 1);
            ASSERT_LE(panel.id, kMaxResourceId);
            ASSERT_GE(panel.width, kMinPanelSide);
            ASSERT_LE(panel.height, kMaxPanelSide);
            ASSERT_LE(panel.title.size(), kMaxTextBytes);
            std::set<int> controlIds;
            for (const ControlDefinition& control : panel.controls) {
                ASSERT_TRUE(controlIds.insert(control.id).second);
                ASSERT_LE(control.text.size(), kMaxTextBytes);
                for (char c : control.text) ASSERT_FALSE(static_cast<unsigned char>(c) < 0x20 && c != '\t');
            }
        }
    }
    // The mutations are mild enough that some files stay valid, so both
    // outcomes were exercised.
    EXPECT_GT(accepted, 0);
}

}  // namespace
}  // namespace halvik::rte
