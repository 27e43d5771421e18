// The numbers of the waveform header are printed as the C library prints them
// in the "C" locale, also when the process has set a comma-decimal locale:
// compared, value by value, with snprintf under a thread-local "C" locale.
#include <locale.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "engine/awv_text.h"
#include "engine/text_number.h"
#include "tests/support/comma_decimal_locale.h"

namespace halvik {
namespace {

using orvenda::testing::kCommaDecimalLocale;
using orvenda::testing::ProcessLocale;

// snprintf with the "C" locale on this thread only: the reference texts.
class CLocalePrinter {
public:
    CLocalePrinter() : c_(::newlocale(LC_ALL_MASK, "C", nullptr)) {}
    ~CLocalePrinter() { ::freelocale(c_); }
    CLocalePrinter(const CLocalePrinter&) = delete;
    CLocalePrinter& operator=(const CLocalePrinter&) = delete;

    std::string print(const char* format, double value) const {
        const locale_t previous = ::uselocale(c_);
        std::vector<char> text(400);
        const int length = std::snprintf(text.data(), text.size(), format, value);
        ::uselocale(previous);
        return std::string(text.data(), static_cast<std::size_t>(length));
    }
    // "%E" as the file wants it: at least three exponent digits.
    std::string printE(double value) const {
        std::string text = print("%E", value);
        const std::size_t e = text.find('E');
        if (e != std::string::npos && text.size() - (e + 2) < 3) text.insert(e + 2, 3 - (text.size() - (e + 2)), '0');
        return text;
    }

private:
    locale_t c_;
};

std::vector<double> valuesToPrint() {
    std::vector<double> values = {0.0, -0.0, 1.0, -1.5, 0.25, 200e6, 61.44e6, 12.5e6, 2147483.647, -2147483.648, 1e-300,
                                  5e-324, 1e308, std::numeric_limits<double>::max(),
                                  // Exact ties at the sixth decimal: the C library rounds them to even.
                                  0.0078125, 0.0234375, -0.0078125, 1.0000005, 2.5e-7, 0.5e-6, 999999.9999995};
    for (int n = 7; n <= 24; ++n)
        for (int k = 1; k < 64; k += 2) values.push_back(std::ldexp(k, -n));
    for (int thousandths = -2000; thousandths <= 2000; thousandths += 5) values.push_back(thousandths * 0.001);
    std::mt19937_64 random(12);
    std::uniform_int_distribution<int> exponent(-330, 310);
    std::uniform_real_distribution<double> mantissa(-10.0, 10.0);
    for (int k = 0; k < 4000; ++k) values.push_back(mantissa(random) * std::pow(10.0, exponent(random)));
    values.push_back(std::numeric_limits<double>::infinity());
    values.push_back(-std::numeric_limits<double>::infinity());
    values.push_back(std::numeric_limits<double>::quiet_NaN());
    values.push_back(-std::numeric_limits<double>::quiet_NaN());
    return values;
}

TEST(NumberLocale, HeaderNumbersAreTheCLocaleTextsUnderACommaLocale) {
    ProcessLocale comma(kCommaDecimalLocale);
    ASSERT_TRUE(comma.active()) << kCommaDecimalLocale << " is not installed (scripts/install-deps.sh makes it)";
    ASSERT_TRUE(ProcessLocale::decimalPointIsComma());
    char plain[32];
    std::snprintf(plain, sizeof plain, "%f", 0.5);
    ASSERT_STREQ(plain, "0,500000") << "the process locale does reach the C library";

    const CLocalePrinter reference;
    for (double value : valuesToPrint()) {
        SCOPED_TRACE(reference.print("%.17g", value));
        EXPECT_EQ(formatF(value), reference.print("%f", value));
        EXPECT_EQ(formatE(value), reference.printE(value));
    }
}

TEST(NumberLocale, SampleTextIsReadWithAPointUnderACommaLocale) {
    ProcessLocale comma(kCommaDecimalLocale);
    ASSERT_TRUE(comma.active());
    EXPECT_EQ(parseSingleColumnLine(" 2.5\n"), 2.5);
    EXPECT_EQ(parseSingleColumnLine("2,5"), 2.0);  // a comma ends the number, as in the "C" locale
    const SamplePair pair = parseTwoColumnLine("1.25e-3,-0.75");
    EXPECT_EQ(pair.i, 1.25e-3);
    EXPECT_EQ(pair.q, -0.75);
}

}  // namespace
}  // namespace halvik
