// The dialog filter lists as the windows name them, turned into Qt's form.
#include <gtest/gtest.h>

#include <QDir>
#include <QStringList>

#include "gui/common/user_dialogs.h"

namespace orvenda {
namespace {

TEST(QtFileFilter, KeepsDescriptionsThatShowTheirPatterns) {
    EXPECT_EQ(toQtFileFilter(QStringLiteral("IQSIM(*.i)|*.i|data files(*.dat)|*.dat")),
              QStringLiteral("IQSIM(*.i);;data files(*.dat)"));
}

TEST(QtFileFilter, AddsThePatternToADescriptionWithoutOne) {
    EXPECT_EQ(toQtFileFilter(QStringLiteral("waveforms|*.awv")), QStringLiteral("waveforms (*.awv)"));
}

TEST(QtFileFilter, AllFilesMatchNamesWithoutADot) {
    const QString filter = toQtFileFilter(QStringLiteral("AWG(*.awv)|*.awv|all files(*.*)|*.*"));
    const QStringList parts = filter.split(QStringLiteral(";;"));
    ASSERT_EQ(parts.size(), 2);
    EXPECT_TRUE(parts[1].startsWith(QStringLiteral("all files(*.*)")));
    // The patterns Qt applies are those of the last parentheses.
    const QString patterns = parts[1].mid(parts[1].lastIndexOf(QLatin1Char('(')) + 1).chopped(1);
    EXPECT_TRUE(QDir::match(patterns, QStringLiteral("capture")));
    EXPECT_TRUE(QDir::match(patterns, QStringLiteral("capture.MNT")));
}

TEST(QtFileFilter, IgnoresATrailingDescriptionWithoutPattern) {
    EXPECT_EQ(toQtFileFilter(QStringLiteral("data files(*.dat)|*.dat|orphan")), QStringLiteral("data files(*.dat)"));
}

}  // namespace
}  // namespace orvenda
