// The command line and the panel's Enter rules take their limits from one
// table: at each limit the option is accepted and the field keeps the value;
// one step beyond, the option is refused with the limits named and the field
// pulls the value back to the limit.
#include <gtest/gtest.h>

#include <functional>
#include <ostream>
#include <string>

#include "cli/convert_options.h"
#include "core/settings/field_limits.h"
#include "core/settings/numeric_entry.h"
#include "core/settings/text_conversions.h"

namespace orvenda::cli {
namespace {

using settings::EntryField;
using settings::FieldLimits;

struct LimitCase {
    const char* name;
    EntryField field;
    FieldLimits limits;
    double beyond;  // how far outside a limit the refused value lies
    std::function<void(ConvertArguments&, const std::string&)> setOption;
    const char* option;
};

void PrintTo(const LimitCase& row, std::ostream* out) { *out << row.name; }

std::vector<LimitCase> limitCases() {
    return {
        {"DataFullScale", EntryField::AWGGain, settings::kDataFullScaleLimits, 0.5,
         [](ConvertArguments& a, const std::string& v) { a.dataFullScale = v; }, "--data-full-scale"},
        {"SamplingFreq", EntryField::Fs, settings::kSamplingFreqMHzLimits, 0.5,
         [](ConvertArguments& a, const std::string& v) { a.fs = v; }, "--fs"},
        {"Offset", EntryField::IOffset, settings::kOffsetLimits, 5,
         [](ConvertArguments& a, const std::string& v) { a.iqOffset = v; }, "--iq-offset"},
        {"OutputLevel", EntryField::QOutput, settings::kOutputLevelLimits, 5,
         [](ConvertArguments& a, const std::string& v) {
             a.iqOutput = "var";
             a.iqOutputLevel = v;
         },
         "--iq-output-level"},
        {"Loops", EntryField::LoopNum, settings::kLoopCountLimits, 1,
         [](ConvertArguments& a, const std::string& v) {
             a.sequence = "single";
             a.loops = v;
         },
         "--loops"},
        {"DataSize", EntryField::DataSizeI, settings::kDataSizeLimits, 4,
         [](ConvertArguments& a, const std::string& v) { a.dataSize = v; }, "--data-size"},
    };
}

ConvertArguments argumentsWith(const LimitCase& c, const std::string& value) {
    ConvertArguments a;
    a.inputs = {"in.MNT"};
    a.output = "out.awv";
    c.setOption(a, value);
    return a;
}

class FieldLimitsAgree : public ::testing::TestWithParam<LimitCase> {};

TEST_P(FieldLimitsAgree, AtTheLimitsBothKeepTheValue) {
    const LimitCase& c = GetParam();
    for (double limit : {c.limits.low, c.limits.high}) {
        const std::string text = settings::limitText(limit);
        EXPECT_NO_THROW(planConvert(argumentsWith(c, text))) << text;
        EXPECT_EQ(settings::leadingNumber(settings::enteredText(c.field, text)), limit) << text;
    }
}

TEST_P(FieldLimitsAgree, BeyondTheLimitsTheOptionIsRefusedAndTheFieldHoldsTheLimit) {
    const LimitCase& c = GetParam();
    const struct {
        double value;
        double heldAt;
    } outside[] = {{c.limits.low - c.beyond, c.limits.low}, {c.limits.high + c.beyond, c.limits.high}};
    for (const auto& o : outside) {
        const std::string text = settings::limitText(o.value);
        try {
            planConvert(argumentsWith(c, text));
            ADD_FAILURE() << c.option << " " << text << " was accepted";
        } catch (const UsageError& error) {
            const std::string message = error.what();
            EXPECT_NE(message.find(c.option), std::string::npos) << message;
            EXPECT_NE(message.find("limits " + settings::limitsText(c.limits)), std::string::npos) << message;
        }
        EXPECT_EQ(settings::leadingNumber(settings::enteredText(c.field, text)), o.heldAt) << text;
    }
}

INSTANTIATE_TEST_SUITE_P(Table, FieldLimitsAgree, ::testing::ValuesIn(limitCases()),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(FieldLimitsText, LimitsReadAsThePanelShowsThem) {
    EXPECT_EQ(settings::limitsText(settings::kSamplingFreqMHzLimits), "12.5 to 200");
    EXPECT_EQ(settings::limitsText(settings::kOffsetLimits), "-750 to 750");
    EXPECT_EQ(settings::limitsText(settings::kDataSizeLimits), "4 to 67108864");
    EXPECT_EQ(settings::limitsText(settings::kDataFullScaleLimits), "0 to 1");
}

}  // namespace
}  // namespace orvenda::cli
