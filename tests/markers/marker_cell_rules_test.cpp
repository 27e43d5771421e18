// The Enter rules of the grid's cells, the add-point rules and the keys that
// open the in-place editor.
#include <gtest/gtest.h>
#include <ostream>

#include <climits>

#include "core/markers/marker_cell_rules.h"

namespace orvenda::markers {
namespace {

struct TextCase {
    const char* typed;
    const char* stored;
};

// Rows are named in test output by their name, not by a dump of their bytes.
void PrintTo(const TextCase& row, std::ostream* os) { *os << row.typed; }

class EvenPosition : public ::testing::TestWithParam<TextCase> {};

TEST_P(EvenPosition, StoresAnEvenWholePosition) {
    EXPECT_EQ(evenPositionText(GetParam().typed), GetParam().stored) << "typed: " << GetParam().typed;
    EXPECT_EQ(validatedCellText(kPositionColumn, GetParam().typed), GetParam().stored);
}

INSTANTIATE_TEST_SUITE_P(Positions, EvenPosition,
                         ::testing::Values(TextCase{"7", "6"}, TextCase{"6", "6"}, TextCase{"0", "0"},
                                           TextCase{"1", "0"}, TextCase{"7.5", "8"}, TextCase{"6.5", "6"},
                                           TextCase{"5.5", "6"}, TextCase{"2.4", "2"}, TextCase{"0.5", "0"},
                                           TextCase{"-3", "0"}, TextCase{"-0.2", "0"}, TextCase{"abc", "0"},
                                           TextCase{"", "0"}, TextCase{"12abc", "0"}, TextCase{"1e3", "1000"},
                                           TextCase{"1E3", "1000"}, TextCase{"0010", "10"}, TextCase{" 9 ", "8"},
                                           TextCase{"+4", "4"}, TextCase{"1 0", "0"},
                                           // beyond int32: saturated, then made even
                                           TextCase{"3000000000", "2147483646"}, TextCase{"1e300", "2147483646"}));

class Level : public ::testing::TestWithParam<TextCase> {};

TEST_P(Level, KeepsOnlyZeroAndOne) {
    EXPECT_EQ(levelText(GetParam().typed), GetParam().stored) << "typed: " << GetParam().typed;
    EXPECT_EQ(validatedCellText(kLevelColumn, GetParam().typed), GetParam().stored);
}

INSTANTIATE_TEST_SUITE_P(Levels, Level,
                         ::testing::Values(TextCase{"0", "0"}, TextCase{"1", "1"}, TextCase{"2", "0"},
                                           TextCase{"-1", "0"}, TextCase{"01", "0"}, TextCase{" 1", "0"},
                                           TextCase{"1.0", "0"}, TextCase{"", "0"}, TextCase{"x", "0"}));

TEST(GridKeyDown, OpensOnlyForDeleteF2AndHighCodes) {
    EXPECT_EQ(openCodeForGridKeyDown(kKeyDelete), kKeyBackspace);
    EXPECT_EQ(openCodeForGridKeyDown(kKeyF2), kKeyEnter);
    EXPECT_EQ(openCodeForGridKeyDown(128), kKeySpace);
    EXPECT_EQ(openCodeForGridKeyDown(222), kKeySpace);
    for (int code : {0, 8, 13, 27, 32, 37, 38, 40, 45, 65, 112, 114, 127})
        EXPECT_FALSE(openCodeForGridKeyDown(code)) << code;
}

struct OpenCase {
    const char* name;
    char32_t code;
    std::optional<CellEditStart> start;
};

// Rows are named in test output by their name, not by a dump of their bytes.
void PrintTo(const OpenCase& row, std::ostream* os) { *os << row.name; }

class EditStart : public ::testing::TestWithParam<OpenCase> {};

TEST_P(EditStart, GivesTextAndCaret) { EXPECT_EQ(cellEditStart(GetParam().code, "120"), GetParam().start); }

INSTANTIATE_TEST_SUITE_P(Codes, EditStart,
                         ::testing::Values(OpenCase{"Enter", 13, CellEditStart{"120", false}},
                                           OpenCase{"Backspace", 8, CellEditStart{"", false}},
                                           OpenCase{"Space", 32, CellEditStart{"120", true}},
                                           OpenCase{"Digit", U'7', CellEditStart{"7", false}},
                                           OpenCase{"Minus", U'-', CellEditStart{"-", false}},
                                           OpenCase{"NonAscii", U'\u00e9', CellEditStart{"\xc3\xa9", false}},
                                           OpenCase{"Escape", 27, std::nullopt}, OpenCase{"Tab", 9, std::nullopt},
                                           OpenCase{"CtrlC", 3, std::nullopt}, OpenCase{"Nul", 0, std::nullopt},
                                           OpenCase{"Del", 127, std::nullopt}),
                         [](const ::testing::TestParamInfo<OpenCase>& p) { return std::string(p.param.name); });

}  // namespace
}  // namespace orvenda::markers
