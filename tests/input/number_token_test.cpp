// The in-place number reader: its grammar and its values agree with the
// program's strict number conversion, bit for bit.
#include <gtest/gtest.h>
#include <ostream>

#include <bit>
#include <cmath>
#include <cstdint>
#include <random>
#include <string>

#include "core/input/scanner.h"
#include "core/settings/number_token.h"
#include "core/settings/text_conversions.h"

namespace orvenda::input {
namespace {

using settings::NumberStatus;
using settings::NumberToken;
using settings::readNumber;

struct TokenCase {
    const char* text;
    NumberStatus status;
    double value;
    std::size_t length;  // characters taken
};

// Rows are named in test output by their name, not by a dump of their bytes.
void PrintTo(const TokenCase& row, std::ostream* os) { *os << row.text; }

class ReadNumber : public ::testing::TestWithParam<TokenCase> {};

TEST_P(ReadNumber, TakesTheLongestNumber) {
    const TokenCase& c = GetParam();
    const std::string text = c.text;
    const NumberToken token = readNumber(text.data(), text.data() + text.size());
    EXPECT_EQ(token.status, c.status);
    EXPECT_EQ(static_cast<std::size_t>(token.end - text.data()), c.length);
    if (c.status == NumberStatus::Ok) {
        EXPECT_EQ(token.value, c.value);
        EXPECT_EQ(std::signbit(token.value), std::signbit(c.value));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Grammar, ReadNumber,
    ::testing::Values(
        TokenCase{"12", NumberStatus::Ok, 12.0, 2}, TokenCase{"-0.25x", NumberStatus::Ok, -0.25, 5},
        TokenCase{"+.5", NumberStatus::Ok, 0.5, 3}, TokenCase{"5.", NumberStatus::Ok, 5.0, 2},
        TokenCase{"1.5e3 V", NumberStatus::Ok, 1500.0, 5}, TokenCase{"1e", NumberStatus::Ok, 1.0, 1},
        TokenCase{"1e+", NumberStatus::Ok, 1.0, 1}, TokenCase{"2E-2", NumberStatus::Ok, 0.02, 4},
        TokenCase{"1.2.3", NumberStatus::Ok, 1.2, 3}, TokenCase{"-0", NumberStatus::Ok, -0.0, 2},
        TokenCase{"0e999", NumberStatus::Ok, 0.0, 5}, TokenCase{"1e-400", NumberStatus::Ok, 0.0, 6},
        TokenCase{"9007199254740993", NumberStatus::Ok, 9007199254740992.0, 16},
        TokenCase{"1e308", NumberStatus::Ok, 1e308, 5}, TokenCase{"1e309", NumberStatus::Overflow, 0.0, 5},
        TokenCase{"-123456789012345678901234e300", NumberStatus::Overflow, 0.0, 29},
        TokenCase{".", NumberStatus::NotANumber, 0.0, 0}, TokenCase{"-", NumberStatus::NotANumber, 0.0, 0},
        TokenCase{"+-1", NumberStatus::NotANumber, 0.0, 0}, TokenCase{"inf", NumberStatus::NotANumber, 0.0, 0},
        TokenCase{"nan", NumberStatus::NotANumber, 0.0, 0}, TokenCase{"e5", NumberStatus::NotANumber, 0.0, 0},
        TokenCase{"", NumberStatus::NotANumber, 0.0, 0}));

// A CSV field is accepted exactly when the strict number conversion accepts
// it, with the same value; checked on random texts from a small alphabet
// that makes near-numbers likely.
TEST(ReadNumberAgreement, CsvFieldsMatchStrictNumber) {
    std::mt19937 random(20261208);
    const std::string alphabet = "0123456789..eE+- \tx";
    std::uniform_int_distribution<std::size_t> pick(0, alphabet.size() - 1);
    std::uniform_int_distribution<int> length(0, 9);
    ScanOptions options;
    options.chunkBytes = 64;
    for (int n = 0; n < 50000; ++n) {
        std::string field;
        for (int k = length(random); k > 0; --k) field += alphabet[pick(random)];
        const std::optional<double> expected = settings::strictNumber(field);
        const ScanOutcome outcome = scanBytes(field.append(",0\n"), InputLayout::CsvIQText, options);
        field.resize(field.size() - 3);
        ASSERT_EQ(outcome.ok(), expected.has_value()) << "field \"" << field << "\"";
        if (expected) {
            ASSERT_EQ(outcome.result.peakI, std::fabs(*expected)) << "field \"" << field << "\"";
        }
    }
}

// Values of every size and precision round exactly as from_chars does.
TEST(ReadNumberAgreement, ValuesAreCorrectlyRounded) {
    std::mt19937_64 random(42);
    std::uniform_int_distribution<int> digitCount(1, 24);
    std::uniform_int_distribution<int> digit(0, 9);
    std::uniform_int_distribution<int> pointAt(0, 25);
    std::uniform_int_distribution<int> exponent(-340, 320);
    std::uniform_int_distribution<int> form(0, 3);
    for (int n = 0; n < 200000; ++n) {
        std::string text;
        const int digits = digitCount(random);
        const int point = pointAt(random);
        for (int k = 0; k < digits; ++k) {
            if (k == point) text += '.';
            text += static_cast<char>('0' + digit(random));
        }
        switch (form(random)) {
        case 0: break;
        case 1:
            text += 'e';
            text += std::to_string(exponent(random) / 10);
            break;
        default:
            text += 'E';
            text += std::to_string(exponent(random));
            break;
        }
        const std::optional<double> expected = settings::strictNumber(text);
        const NumberToken token = readNumber(text.data(), text.data() + text.size());
        ASSERT_EQ(token.end, text.data() + text.size()) << text;
        if (!expected) {
            ASSERT_EQ(token.status, NumberStatus::Overflow) << text;
            continue;
        }
        ASSERT_EQ(token.status, NumberStatus::Ok) << text;
        ASSERT_EQ(std::bit_cast<uint64_t>(token.value), std::bit_cast<uint64_t>(*expected)) << text;
    }
}

}  // namespace
}  // namespace orvenda::input
