// Numbers of the text layouts follow C's atof: each row is checked against the
// value it states and, where the C library gives a finite decimal reading,
// against the C library itself.
#include <cmath>
#include <cstdlib>
#include <ostream>
#include <random>
#include <string>

#include <gtest/gtest.h>

#include "tests/engine/engine_test_support.h"

#include "engine/text_lines.h"
#include "engine/text_number.h"

namespace halvik {
namespace {

struct NumberRow {
    const char* name;
    std::string line;
    double expected;
};

// Rows are named in test output by their name, not by a dump of their bytes.
void PrintTo(const NumberRow& row, std::ostream* os) { *os << row.name; }

class SingleColumnLine : public ::testing::TestWithParam<NumberRow> {};

TEST_P(SingleColumnLine, ReadsAsAtofDoes) {
    const NumberRow& row = GetParam();
    double value = parseSingleColumnLine(row.line);
    EXPECT_EQ(value, row.expected);
    // The C library here also reads hexadecimal forms; this engine does not.
    bool hexadecimal = row.line.find("0x") != std::string::npos;
    double c = std::atof(row.line.c_str());
    if (std::isfinite(c) && !hexadecimal) {
        EXPECT_EQ(value, c) << "differs from the C library";
    }
    // Read in bulk, with its line feed and as a last line without one.
    for (const std::string& text : {row.line + "\n1\n", row.line.empty() ? "\n" : row.line}) {
        double values[2] = {-9.0, -9.0};
        ASSERT_EQ(parseSingleColumnLines(text, values), text.size() > row.line.size() + 1 ? 2u : 1u);
        EXPECT_EQ(std::signbit(values[0]), std::signbit(value));
        EXPECT_EQ(values[0], value) << "in bulk";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, SingleColumnLine,
    ::testing::Values(NumberRow{"LeadingBlanks", "  -0.25", -0.25}, NumberRow{"TrailingUnit", "1.5e3 V", 1500.0},
                      NumberRow{"CommaStops", "1,2", 1.0}, NumberRow{"Letters", "abc", 0.0},
                      NumberRow{"Empty", "", 0.0}, NumberRow{"PlusSign", "+2.5", 2.5},
                      NumberRow{"TabAndCarriageReturn", "\t7\r", 7.0}, NumberRow{"PointFirst", ".5", 0.5},
                      NumberRow{"PointLast", "-5.", -5.0}, NumberRow{"LonePoint", ".", 0.0},
                      NumberRow{"ExponentWithoutDigits", "3e", 3.0}, NumberRow{"ExponentSignOnly", "3e+", 3.0},
                      NumberRow{"Infinity", "inf", 0.0}, NumberRow{"SignedInfinity", "-Infinity", 0.0},
                      NumberRow{"NotANumber", "nan", 0.0}, NumberRow{"HexReadsItsDecimalPrefix", "0x1A", 0.0},
                      NumberRow{"HexFloat", "0x1p3", 0.0}, NumberRow{"TwoSigns", "+-3", 0.0},
                      NumberRow{"OverflowIsZero", "1e999", 0.0}, NumberRow{"NegativeOverflowIsZero", "-1e999", 0.0},
                      NumberRow{"UnderflowIsZero", "1e-999", 0.0},
                      NumberRow{"NulEndsTheText",
                                std::string("4\0"
                                            "5",
                                            3),
                                4.0},
                      NumberRow{"ManyDigits", "0.1000000000000000055511151231257827", 0.1},
                      NumberRow{"LargestFinite", "1.7976931348623157e308", 1.7976931348623157e308}),
    test::RowName());

struct PairRow {
    const char* name;
    std::string line;
    double i;
    double q;
};

// Rows are named in test output by their name, not by a dump of their bytes.
void PrintTo(const PairRow& row, std::ostream* os) { *os << row.name; }

class TwoColumnLine : public ::testing::TestWithParam<PairRow> {};

TEST_P(TwoColumnLine, SplitsAtSeparatorRuns) {
    const PairRow& row = GetParam();
    SamplePair pair = parseTwoColumnLine(row.line);
    EXPECT_EQ(pair.i, row.i);
    EXPECT_EQ(pair.q, row.q);
    for (const std::string& text : {row.line + "\n1 1\n", row.line.empty() ? "\n" : row.line}) {
        double i[2] = {-9.0, -9.0};
        double q[2] = {-9.0, -9.0};
        ASSERT_EQ(parseTwoColumnLines(text, i, q), text.size() > row.line.size() + 1 ? 2u : 1u);
        EXPECT_EQ(i[0], row.i) << "in bulk";
        EXPECT_EQ(q[0], row.q) << "in bulk";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, TwoColumnLine,
    ::testing::Values(PairRow{"Semicolon", "0.5;-0.5", 0.5, -0.5}, PairRow{"SpaceCommaSpace", "0.5 , -0.5", 0.5, -0.5},
                      PairRow{"LeadingAndDoubleCommas", ",,0.5,,-0.5", 0.5, -0.5},
                      PairRow{"TabsAndColon", "\t1:\t2", 1.0, 2.0}, PairRow{"ThirdTokenIgnored", "1 2 3", 1.0, 2.0},
                      PairRow{"OneValue", "7", 7.0, 0.0}, PairRow{"EmptyLine", "", 0.0, 0.0},
                      PairRow{"SeparatorsOnly", " ;, ", 0.0, 0.0}, PairRow{"CarriageReturn", "1,2\r", 1.0, 2.0},
                      PairRow{"TokenTailIgnored", "1V,2V", 1.0, 2.0}, PairRow{"WordsAreZero", "I,Q", 0.0, 0.0},
                      PairRow{"TokenStartsWithOtherSpace", "\v3 \f4", 3.0, 4.0},
                      PairRow{"OtherSpaceAloneIsAToken", "\v 5", 0.0, 5.0}, PairRow{"PlusSigns", "+1;+2", 1.0, 2.0},
                      PairRow{"Overflow", "1e999,2", 0.0, 2.0},
                      PairRow{"NulEndsTheLine", std::string("1\0 2", 4), 1.0, 0.0}),
    test::RowName());

}  // namespace
}  // namespace halvik

namespace halvik {
namespace {

// Random decimal texts of every shape (digit counts, points, exponents,
// signs, trailing junk) read exactly as the C library's correctly rounded
// strtod reads them. A fixed seed keeps failures reproducible.
TEST(DecimalPrefix, AgreesWithTheCLibraryOnRandomDecimals) {
    std::mt19937 generator(20261208);
    auto pick = [&](int n) { return static_cast<int>(generator() % static_cast<unsigned>(n)); };
    auto digits = [&](int n) {
        std::string text;
        for (int k = 0; k < n; ++k) text += static_cast<char>('0' + pick(10));
        return text;
    };
    for (int round = 0; round < 200000; ++round) {
        std::string text;
        if (pick(3) == 0) text += pick(2) ? "-" : "+";
        text += digits(pick(4) == 0 ? pick(30) : pick(6));
        if (pick(2)) {
            text += '.';
            text += digits(pick(4) == 0 ? pick(30) : pick(9));
        }
        if (text.find_first_of("0123456789") == std::string::npos) text += "7";
        if (pick(3) == 0) {
            text += pick(2) ? "e" : "E";
            if (pick(2)) text += pick(2) ? "-" : "+";
            text += digits(pick(5) == 0 ? 0 : 1 + pick(3));
        }
        // Bytes next to the digits in code order, and high bytes that carry
        // when the reader checks eight bytes at once.
        static const char* const kTails[] = {",x",
                                             "/",
                                             ":",
                                             "\xfa\xff"
                                             "9",
                                             "\x7f",
                                             " 12",
                                             "\xf6"
                                             "5"};
        if (pick(3) == 0) text += kTails[pick(7)];
        ParsedNumber parsed = parseDecimalPrefix(text.data(), text.data() + text.size());
        char* cEnd = nullptr;
        double c = std::strtod(text.c_str(), &cEnd);
        if (!std::isfinite(c)) c = 0.0;
        ASSERT_EQ(parsed.value, c) << text;
        ASSERT_EQ(parsed.end, text.data() + (cEnd - text.c_str())) << text;
        // Lines of such numbers, read in bulk, give each line's own reading.
        const std::string line = (pick(2) ? "-0.5\t" : "") + text;
        const SamplePair pair = parseTwoColumnLine(line);
        double i = 0.0, q = 0.0, single = 0.0;
        ASSERT_EQ(parseTwoColumnLines(line + "\n", &i, &q), 1u);
        ASSERT_EQ(parseSingleColumnLines(text + "\n", &single), 1u);
        ASSERT_EQ(i, pair.i) << line;
        ASSERT_EQ(q, pair.q) << line;
        ASSERT_EQ(single, parseSingleColumnLine(text)) << text;
    }
}

}  // namespace
}  // namespace halvik
