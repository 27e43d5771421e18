// The shared text conversions: leading number, strict number, rounded integer,
// general number text and the fixed-decimals patterns.
#include <gtest/gtest.h>
#include <ostream>

#include <clocale>
#include <cmath>
#include <limits>
#include <optional>
#include <string>

#include "core/settings/text_conversions.h"

namespace orvenda::settings {
namespace {

struct LeadingCase {
    const char* name;
    std::string text;
    double expected;
};

// Rows are named in test output by their name, not by a dump of their bytes.
void PrintTo(const LeadingCase& row, std::ostream* os) { *os << row.name; }

class LeadingNumberTest : public ::testing::TestWithParam<LeadingCase> {};

TEST_P(LeadingNumberTest, ReadsTheLongestLeadingNumber) {
    EXPECT_DOUBLE_EQ(leadingNumber(GetParam().text), GetParam().expected) << "text: " << GetParam().text;
}

const double kMax = std::numeric_limits<double>::max();

INSTANTIATE_TEST_SUITE_P(
    Texts, LeadingNumberTest,
    ::testing::Values(LeadingCase{"Integer", "12", 12.0}, LeadingCase{"Decimal", "0.50", 0.5},
                      LeadingCase{"NoLeadingDigit", ".25", 0.25}, LeadingCase{"Negative", "-0.2", -0.2},
                      LeadingCase{"PlusSign", "+7", 7.0}, LeadingCase{"Exponent", "1e12", 1e12},
                      LeadingCase{"ExponentUpperAndSign", "2.5E-3", 2.5e-3}, LeadingCase{"BlankInside", "1 2", 12.0},
                      LeadingCase{"TabAndLineFeed", "\t3\n4", 34.0}, LeadingCase{"BlanksAroundSign", " - 5", -5.0},
                      LeadingCase{"StopsAtLetter", "12abc", 12.0}, LeadingCase{"SecondPointStops", "1.2.3", 1.2},
                      LeadingCase{"CommaIsNoPoint", "3,5", 3.0}, LeadingCase{"NoDigits", "abc", 0.0},
                      LeadingCase{"Empty", "", 0.0}, LeadingCase{"SignOnly", "-", 0.0},
                      LeadingCase{"PointOnly", ".", 0.0}, LeadingCase{"IncompleteExponent", "5e", 5.0},
                      LeadingCase{"ExponentSignOnly", "5e+", 5.0}, LeadingCase{"TrailingPoint", "7.", 7.0},
                      LeadingCase{"CarriageReturnStops", "1\r2", 1.0}, LeadingCase{"OverflowSaturates", "1e400", kMax},
                      LeadingCase{"NegativeOverflowSaturates", "-123456789e999999999999", -kMax},
                      LeadingCase{"UnderflowIsZero", "1e-400", 0.0},
                      LeadingCase{"SmallMantissaLargeExponent", "0.0000001e310", 1e303},
                      LeadingCase{"ManyLeadingZerosUnderflow", "0.000001e-320", 0.0},
                      LeadingCase{"LongDigitRun", "100.12345678901249", 100.12345678901249}),
    [](const auto& row) { return std::string(row.param.name); });

// Qt sets the user's locale at start; a comma locale must not change the point.
TEST(LeadingNumber, IgnoresTheCLocale) {
    const std::string saved = std::setlocale(LC_NUMERIC, nullptr);
    // scripts/install-deps.sh generates this locale.
    ASSERT_NE(std::setlocale(LC_NUMERIC, "de_DE.UTF-8"), nullptr) << "de_DE.UTF-8 is not installed";
    EXPECT_DOUBLE_EQ(leadingNumber("2.5"), 2.5);
    EXPECT_EQ(generalNumberText(2.5), "2.5");
    EXPECT_EQ(fixedDecimalsText(2.5, 2), "2.50");
    std::setlocale(LC_NUMERIC, saved.c_str());
}

struct StrictCase {
    const char* name;
    std::string text;
    std::optional<double> expected;
};

// Rows are named in test output by their name, not by a dump of their bytes.
void PrintTo(const StrictCase& row, std::ostream* os) { *os << row.name; }

class StrictNumberTest : public ::testing::TestWithParam<StrictCase> {};

TEST_P(StrictNumberTest, AcceptsOnlyAWholeNumber) {
    const std::optional<double> got = strictNumber(GetParam().text);
    ASSERT_EQ(got.has_value(), GetParam().expected.has_value()) << "text: " << GetParam().text;
    if (got) {
        EXPECT_DOUBLE_EQ(*got, *GetParam().expected);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Texts, StrictNumberTest,
    ::testing::Values(StrictCase{"Integer", "42", 42.0}, StrictCase{"BlanksAround", "  -3.5 ", -3.5},
                      StrictCase{"TabsAround", "\t8\t", 8.0}, StrictCase{"Exponent", "1.5e+2", 150.0},
                      StrictCase{"LeadingPoint", ".5", 0.5}, StrictCase{"TrailingPoint", "5.", 5.0},
                      StrictCase{"PlusSign", "+1", 1.0}, StrictCase{"BlankInside", "1 2", std::nullopt},
                      StrictCase{"TrailingLetters", "12abc", std::nullopt},
                      StrictCase{"TwoPoints", "1.2.3", std::nullopt}, StrictCase{"Empty", "", std::nullopt},
                      StrictCase{"BlanksOnly", "   ", std::nullopt}, StrictCase{"SignOnly", "-", std::nullopt},
                      StrictCase{"PointOnly", ".", std::nullopt}, StrictCase{"IncompleteExponent", "1e", std::nullopt},
                      StrictCase{"Comma", "1,5", std::nullopt}, StrictCase{"Overflow", "1e999", std::nullopt},
                      StrictCase{"UnderflowIsZero", "1e-999", 0.0}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(RoundedInteger, HalvesGoToTheEvenNeighbourAndTheRangeSaturates) {
    struct Row {
        double value;
        int32_t expected;
    };
    const Row rows[] = {
        {2.5, 2},
        {3.5, 4},
        {-2.5, -2},
        {-3.5, -4},
        {0.5, 0},
        {-0.5, 0},
        {1.5, 2},
        {2.4999, 2},
        {2.5000001, 3},
        {-7.6, -8},
        {0.0, 0},
        {2147483646.5, 2147483646},
        {2147483647.0, 2147483647},
        {2147483647.4, 2147483647},
        {3e9, 2147483647},
        {1e300, 2147483647},
        {-2147483648.0, -2147483647 - 1},
        {-2147483648.6, -2147483647 - 1},
        {-1e300, -2147483647 - 1},
        {std::numeric_limits<double>::infinity(), 2147483647},
        {-std::numeric_limits<double>::infinity(), -2147483647 - 1},
        {std::nan(""), 0},
    };
    for (const Row& row : rows) EXPECT_EQ(roundedInteger(row.value), row.expected) << "value " << row.value;
}

TEST(GeneralNumberText, FifteenSignificantDigitsWithoutTrailingZeros) {
    struct Row {
        double value;
        const char* expected;
    };
    const Row rows[] = {
        {0.5, "0.5"},
        {1.0, "1"},
        {21.40, "21.4"},
        {0.25, "0.25"},
        {-0.2, "-0.2"},
        {200.0, "200"},
        {12.5, "12.5"},
        {100.12345678901249, "100.123456789012"},
        {1.0 / 3.0, "0.333333333333333"},
        {2.0 / 3.0, "0.666666666666667"},
        {123456789012345.0, "123456789012345"},
        {0.0001, "0.0001"},
        {0.00012345, "0.00012345"},
        {-0.0, "0"},
        {0.0, "0"},
        {1e15, "1E+15"},
        {1.5e-5, "1.5E-05"},
        {-2.5e100, "-2.5E+100"},
        {std::numeric_limits<double>::max(), "1.79769313486232E+308"},
        {0.1 + 0.2, "0.3"},
        {999999999999999.4, "999999999999999"},
        {999999999999999.6, "1E+15"},
    };
    for (const Row& row : rows) EXPECT_EQ(generalNumberText(row.value), row.expected) << "value " << row.value;
}

TEST(GeneralNumberText, ReadsBackAsTheSameTextOnceRounded) {
    const double values[] = {
        3.14159265358979, 1e-5, 123.456, 7e20, std::numeric_limits<double>::max(), -std::numeric_limits<double>::max()};
    for (double v : values) {
        const std::string once = generalNumberText(v);
        EXPECT_EQ(generalNumberText(leadingNumber(once)), once) << once;
    }
}

TEST(FixedDecimalsText, PatternsOfTheSharpPointZerosFamily) {
    struct Row {
        double value;
        int decimals;
        const char* expected;
    };
    const Row rows[] = {
        {200.0, 11, "200.00000000000"},
        {200.0, 12, "200.000000000000"},
        {12.5, 12, "12.500000000000"},
        {100.123456789012, 11, "100.12345678901"},
        {100.12345678901, 12, "100.123456789010"},
        {0.25, 2, ".25"},
        {-0.25, 2, "-.25"},
        {-12.345, 1, "-12.3"},
        {0.0, 3, ".000"},
        {-0.0001, 3, ".000"},
        {9.9999, 3, "10.000"},
        {1234567.0, 2, "1234567.00"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(fixedDecimalsText(row.value, row.decimals), row.expected)
            << "value " << row.value << " decimals " << row.decimals;
}

}  // namespace
}  // namespace orvenda::settings
