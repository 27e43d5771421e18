// The numeric functions of the entry rules and the text each field shows
// after Enter, row by row as the entry table describes them.
#include <gtest/gtest.h>
#include <ostream>

#include <cmath>
#include <limits>
#include <string>

#include "core/settings/numeric_entry.h"

namespace orvenda::settings {
namespace {

constexpr int32_t kMin = std::numeric_limits<int32_t>::min();
constexpr int32_t kMax = std::numeric_limits<int32_t>::max();

TEST(Round2, HalvesGoAwayFromZero) {
    struct Row {
        double in;
        double out;
    };
    const Row rows[] = {{2.5, 3},
                        {-2.5, -3},
                        {2.4999, 2},
                        {-2.4999, -2},
                        {0.5, 1},
                        {-0.5, -1},
                        {0.0, 0},
                        {12.6, 13},
                        {-12.6, -13},
                        {1e300, 1e300},
                        // Exact: a rounded sum x + 0.5 would give 1 and 4503599627370498.
                        {0.49999999999999994, 0},
                        {4503599627370497.0, 4503599627370497.0},
                        {-4503599627370497.0, -4503599627370497.0},
                        {-0.0, 0}};
    for (const Row& row : rows) EXPECT_EQ(round2(row.in), row.out) << "in " << row.in;
}

TEST(LongLimit, RoundsTheLeadingNumberAndClampsToInt32) {
    struct Row {
        const char* text;
        int32_t out;
    };
    const Row rows[] = {
        {"12.6", 13},
        {"2.5", 3},
        {"-2.5", -3},
        {"abc", 0},
        {"", 0},
        {"1 2", 12},
        {"3.5", 4},
        {"2147483647", kMax},
        {"2147483647.4", kMax},
        {"2147483648", kMax},
        {"1e12", kMax},
        {"-2147483648", kMin},
        {"-2147483649", kMin},
        {"-1e300", kMin},
        {"1e999", kMax},
        {"77xyz", 77},
    };
    for (const Row& row : rows) EXPECT_EQ(Long_limit(std::string_view(row.text)), row.out) << "text " << row.text;
}

TEST(LongLimit, ANumberIsReadThroughItsFifteenDigitText) {
    EXPECT_EQ(Long_limit(2.5), 3);
    EXPECT_EQ(Long_limit(-7.4), -7);
    // 0.4999999999999999 reads as 0.5 with 15 significant digits, then rounds up.
    EXPECT_EQ(Long_limit(0.4999999999999999), 1);
    EXPECT_EQ(Long_limit(5e9), kMax);
    EXPECT_EQ(Long_limit(-5e9), kMin);
    EXPECT_EQ(Long_limit(std::nan("")), 0);
    EXPECT_EQ(Long_limit(std::numeric_limits<double>::infinity()), kMax);
}

TEST(SetRes5, NearestMultipleOfFiveByTheLastDigit) {
    struct Row {
        int32_t in;
        int32_t out;
    };
    const Row rows[] = {
        {12, 10},
        {13, 15},
        {17, 15},
        {18, 20},
        {-13, -15},
        {-2, 0},
        {0, 0},
        {10, 10},
        {11, 10},
        {15, 15},
        {19, 20},
        {-8, -10},
        {-7, -5},
        {-1, 0},
        {748, 750},
        {1234, 1235},
        {1232, 1230},
        {1998, 2000},
        {-748, -750},
        {kMax, 2147483645},
        {2147483639, 2147483640},
        {kMin + 1, -2147483645},
        {kMin, -2147483645},  // -2147483650 is beyond int32: the nearest multiple inside
    };
    for (const Row& row : rows) EXPECT_EQ(SetRes5(row.in), row.out) << "in " << row.in;
}

TEST(MaxMinLimit, TheUpperLimitIsTestedFirst) {
    EXPECT_EQ(MaxMin_Limit(5, 10, 0), 5);
    EXPECT_EQ(MaxMin_Limit(11, 10, 0), 10);
    EXPECT_EQ(MaxMin_Limit(-1, 10, 0), 0);
    EXPECT_EQ(MaxMin_Limit(10, 10, 0), 10);
    EXPECT_EQ(MaxMin_Limit(0, 10, 0), 0);
    // Crossed limits show the order: above the upper one wins.
    EXPECT_EQ(MaxMin_Limit(7, 5, 10), 5);
    EXPECT_EQ(MaxMin_Limit(3, 5, 10), 10);
}

struct EntryCase {
    const char* name;
    EntryField field;
    std::string typed;
    std::string shown;
};

// Rows are named in test output by their name, not by a dump of their bytes.
void PrintTo(const EntryCase& row, std::ostream* os) { *os << row.name; }

class EnteredTextTest : public ::testing::TestWithParam<EntryCase> {};

TEST_P(EnteredTextTest, ShowsTheFieldsDisplayForm) {
    EXPECT_EQ(enteredText(GetParam().field, GetParam().typed), GetParam().shown) << "typed " << GetParam().typed;
}

using F = EntryField;

INSTANTIATE_TEST_SUITE_P(
    Fields, EnteredTextTest,
    ::testing::Values(
        EntryCase{"FsAbove", F::Fs, "250", "200.000000000000"}, EntryCase{"FsBelow", F::Fs, "5", "12.500000000000"},
        EntryCase{"FsFifteenDigitsThenElevenThenTwelve", F::Fs, "100.12345678901249", "100.123456789010"},
        EntryCase{"FsUpperLimit", F::Fs, "200", "200.000000000000"},
        EntryCase{"FsLowerLimit", F::Fs, "12.5", "12.500000000000"},
        EntryCase{"FsDesignedText", F::Fs, "200.000000000000", "200.000000000000"},
        EntryCase{"FsPlain", F::Fs, "100", "100.000000000000"},
        EntryCase{"FsNoDigits", F::Fs, "abc", "12.500000000000"},
        EntryCase{"FsTrailingUnit", F::Fs, "50MHz", "50.000000000000"}, EntryCase{"AwgHalf", F::AWGGain, "0.50", "0.5"},
        EntryCase{"AwgLeadingPoint", F::AWGGain, ".25", "0.25"}, EntryCase{"AwgAbove", F::AWGGain, "1.5", "1"},
        EntryCase{"AwgBelow", F::AWGGain, "-0.2", "0"}, EntryCase{"AwgOne", F::AWGGain, "1", "1"},
        EntryCase{"AwgDesignedText", F::AWGGain, "1.0", "1"}, EntryCase{"AwgNoDigits", F::AWGGain, "abc", "0"},
        EntryCase{"AwgNegativeZero", F::AWGGain, "-0", "0"}, EntryCase{"AwgTiny", F::AWGGain, "0.00001", "1E-05"},
        EntryCase{"IfDesignedText", F::IFFreq, "21.40", "21.4"}, EntryCase{"IfNoDigits", F::IFFreq, "abc", "0"},
        EntryCase{"IfNegative", F::IFFreq, "-10.5", "-10.5"},
        EntryCase{"IfHuge", F::IFFreq, "1e999", "1.79769313486232E+308"}, EntryCase{"Offset12", F::IOffset, "12", "10"},
        EntryCase{"Offset13", F::IOffset, "13", "15"}, EntryCase{"OffsetMinus13", F::IOffset, "-13", "-15"},
        EntryCase{"OffsetMinus2", F::IOffset, "-2", "0"}, EntryCase{"Offset748", F::IOffset, "748", "750"},
        EntryCase{"Offset900", F::IOffset, "900", "750"}, EntryCase{"OffsetMinus900", F::QOffset, "-900", "-750"},
        EntryCase{"OffsetRoundedFirst", F::IOffset, "12.6", "15"}, EntryCase{"OffsetHalf", F::QOffset, "2.5", "5"},
        EntryCase{"OffsetNoDigits", F::IOffset, "abc", "0"}, EntryCase{"Output150", F::IOutput, "150", "200"},
        EntryCase{"Output1234", F::IOutput, "1234", "1235"}, EntryCase{"Output1232", F::QOutput, "1232", "1230"},
        EntryCase{"Output1998", F::IOutput, "1998", "2000"}, EntryCase{"Output2500", F::QOutput, "2500", "2000"},
        EntryCase{"OutputNoDigits", F::IOutput, "abc", "200"},
        EntryCase{"OutputHugeNumber", F::IOutput, "1e12", "2000"}, EntryCase{"Loop0", F::LoopNum, "0", "1"},
        EntryCase{"LoopHalf", F::LoopNum, "3.5", "4"}, EntryCase{"Loop70000", F::LoopNum, "70000", "65536"},
        EntryCase{"Loop65536", F::LoopNum, "65536", "65536"}, EntryCase{"LoopBlankInside", F::LoopNum, "1 2", "12"},
        EntryCase{"LoopNoDigits", F::LoopNum, "abc", "1"}, EntryCase{"LoopNegative", F::LoopNum, "-5", "1"},
        EntryCase{"Size3", F::DataSizeI, "3", "4"}, EntryCase{"SizeHalf", F::DataSizeI, "1000.5", "1001"},
        EntryCase{"SizeAbove", F::DataSizeI, "100000000", "67108864"},
        EntryCase{"SizeExponent", F::DataSizeI, "1e12", "67108864"},
        EntryCase{"SizeNoDigits", F::DataSizeI, "abc", "4"}, EntryCase{"SizeEmpty", F::DataSizeI, "", "4"},
        EntryCase{"SizeUpperLimit", F::DataSizeI, "67108864", "67108864"}),
    [](const ::testing::TestParamInfo<EntryCase>& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace orvenda::settings
