// Axis ticks, value-to-pixel maps, pixel columns of the time view, zoom and
// pan: the geometry of the pictures as plain functions.
#include <gtest/gtest.h>

#include <cmath>
#include <random>

#include "gui/plots/axis_map.h"
#include "gui/plots/axis_ticks.h"
#include "gui/plots/sample_columns.h"
#include "support/comma_decimal_locale.h"

namespace orvenda::plots {
namespace {

bool isOneTwoFive(double step) {
    const double mantissa = step / std::pow(10.0, std::floor(std::log10(step)));
    return std::abs(mantissa - 1) < 1e-9 || std::abs(mantissa - 2) < 1e-9 || std::abs(mantissa - 5) < 1e-9;
}

TEST(AxisTicks, ChosenCases) {
    struct Case {
        double lo, hi;
        int maxTicks;
        double step;
        std::vector<double> values;
    };
    const Case cases[] = {
        {0, 10, 6, 2, {0, 2, 4, 6, 8, 10}},
        {-1.05, 1.05, 5, 1, {-1, 0, 1}},
        {-1.05, 1.05, 10, 0.5, {-1, -0.5, 0, 0.5, 1}},
        {10, 0, 6, 2, {0, 2, 4, 6, 8, 10}},  // reversed range
        {-30.72e6, 30.72e6, 8, 10e6, {-30e6, -20e6, -10e6, 0, 10e6, 20e6, 30e6}},
        {0.0013, 0.0042, 4, 0.001, {0.002, 0.003, 0.004}},
    };
    for (const Case& c : cases) {
        const LinearTicks ticks = linearTicks(c.lo, c.hi, c.maxTicks);
        EXPECT_DOUBLE_EQ(ticks.step, c.step) << c.lo << ".." << c.hi;
        ASSERT_EQ(ticks.values.size(), c.values.size()) << c.lo << ".." << c.hi;
        for (size_t k = 0; k < c.values.size(); ++k) EXPECT_NEAR(ticks.values[k], c.values[k], c.step * 1e-9);
    }
    EXPECT_EQ(linearTicks(3, 3, 5).values, std::vector<double>{3});
    EXPECT_TRUE(linearTicks(0, INFINITY, 5).values.empty());
}

// Any range: ticks inside it, evenly spaced by a 1-2-5 step, never more than asked.
TEST(AxisTicks, PropertiesOverRandomRanges) {
    std::mt19937_64 random(7);
    std::uniform_real_distribution<double> exponent(-9, 9), unit(-1, 1);
    for (int trial = 0; trial < 2000; ++trial) {
        const double scale = std::pow(10.0, exponent(random));
        const double a = unit(random) * scale, b = unit(random) * scale;
        const int maxTicks = 2 + trial % 12;
        const LinearTicks ticks = linearTicks(a, b, maxTicks);
        if (a == b) continue;
        ASSERT_TRUE(isOneTwoFive(ticks.step)) << ticks.step;
        // At most the asked count, apart from the one smaller step a narrow
        // range between two multiples needs to show any tick at all.
        ASSERT_LE(static_cast<int>(ticks.values.size()), std::max(maxTicks, 3)) << a << " " << b;
        ASSERT_GE(ticks.values.size(), 1u) << a << " " << b;
        for (size_t k = 0; k < ticks.values.size(); ++k) {
            EXPECT_GE(ticks.values[k], std::min(a, b) - ticks.step * 1e-6);
            EXPECT_LE(ticks.values[k], std::max(a, b) + ticks.step * 1e-6);
            if (k > 0) {
                EXPECT_NEAR(ticks.values[k] - ticks.values[k - 1], ticks.step, ticks.step * 1e-6);
            }
        }
    }
}

TEST(AxisTicks, DecadesAndLabels) {
    EXPECT_EQ(decadeTicks(1e-6, 1).size(), 7u);
    EXPECT_EQ(decadeTicks(2e-6, 0.5).size(), 5u);  // 1e-5 .. 1e-1
    EXPECT_TRUE(decadeTicks(0, 1).empty());
    EXPECT_EQ(decadeLabel(1), "1");
    EXPECT_EQ(decadeLabel(0.1), "0.1");
    EXPECT_EQ(decadeLabel(1e-6), "1e-6");

    EXPECT_EQ(tickLabel(2.5e6, 5e5, "Hz"), "2.5 MHz");
    EXPECT_EQ(tickLabel(-20e6, 10e6, "Hz"), "-20 MHz");
    EXPECT_EQ(tickLabel(500e3, 5e5, "Hz"), "500 kHz");
    EXPECT_EQ(tickLabel(15e-6, 5e-6, "s"), "15 \u00b5s");
    EXPECT_EQ(tickLabel(0.25, 0.25, ""), "0.25");
    EXPECT_EQ(tickLabel(-0.0, 0.5, ""), "0.0");
    EXPECT_EQ(tickLabel(1000, 500, ""), "1000");
}

// Orvenda runs under the user's locale; a tick keeps its point there.
TEST(AxisTicks, LabelsKeepThePointUnderACommaLocale) {
    orvenda::testing::ProcessLocale comma(orvenda::testing::kCommaDecimalLocale);
    ASSERT_TRUE(comma.active()) << "de_DE.UTF-8 is not installed (scripts/install-deps.sh makes it)";
    EXPECT_EQ(tickLabel(2.5e6, 5e5, "Hz"), "2.5 MHz");
    EXPECT_EQ(tickLabel(-0.0, 0.5, ""), "0.0");
    EXPECT_EQ(tickLabel(-0.125, 0.125, "V"), "-125 mV");
    EXPECT_EQ(tickLabel(0.75, 0.25, ""), "0.75");
}

TEST(AxisMap, LinearAndLogRoundTrips) {
    const AxisMap vertical(-1, 1, 400, 0);  // value up, pixels down
    EXPECT_DOUBLE_EQ(vertical.toPixel(-1), 400);
    EXPECT_DOUBLE_EQ(vertical.toPixel(0), 200);
    EXPECT_DOUBLE_EQ(vertical.toPixel(1), 0);
    EXPECT_DOUBLE_EQ(vertical.toValue(100), 0.5);
    EXPECT_DOUBLE_EQ(vertical.toClampedPixel(1e30), 0);

    const AxisMap probability(1e-6, 1, 600, 0, AxisScale::Log10);
    EXPECT_NEAR(probability.toPixel(1e-3), 300, 1e-9);
    EXPECT_NEAR(probability.toPixel(1e-5), 500, 1e-9);
    for (double p : {1e-6, 3.3e-4, 0.5, 1.0}) EXPECT_NEAR(probability.toValue(probability.toPixel(p)) / p, 1.0, 1e-12);
}

// Every sample lands in exactly one column, in order, and the column of a
// sample is the one whose range holds it.
TEST(SampleColumns, TileTheRangeWithoutGapsOrOverlaps) {
    const std::pair<SampleRange, int> cases[] = {{{0, 4096}, 800},   {{1000, 1000000}, 813}, {{5, 7}, 800},
                                                 {{0, 67108864}, 1}, {{123, 800}, 800},      {{0, 67108864}, 1917}};
    for (const auto& [range, columns] : cases) {
        int64_t next = range.first;
        for (int c = 0; c < columns; ++c) {
            const SampleRange span = columnSamples(range, columns, c);
            ASSERT_EQ(span.first, next);
            next = span.end();
            if (span.count > 0) {
                EXPECT_EQ(columnOfSample(range, columns, span.first), c);
                EXPECT_EQ(columnOfSample(range, columns, span.end() - 1), c);
            }
        }
        EXPECT_EQ(next, range.end());
    }
}

TEST(SampleColumns, ZoomKeepsTheAnchorAndTheFile) {
    const int64_t total = 67108864;
    // Zooming in around the middle keeps the middle sample in the middle.
    const SampleRange in = zoomRange({0, total}, 0.5, 0.5, total);
    EXPECT_EQ(in, (SampleRange{total / 4, total / 2}));
    // Around the left edge: the left edge stays.
    EXPECT_EQ(zoomRange({1000, 1000}, 0.1, 0.0, total).first, 1000);
    // Never fewer than the minimum, never beyond the file.
    EXPECT_EQ(zoomRange({100, 10}, 0.01, 0.5, total).count, 4);
    EXPECT_EQ(zoomRange({total - 100, 100}, 1000.0, 1.0, total), (SampleRange{total - 100000, 100000}));
    EXPECT_EQ(zoomRange({total - 100, 100}, 1e9, 1.0, total), (SampleRange{0, total}));
    EXPECT_EQ(zoomRange({0, 3}, 0.5, 0.5, 3), (SampleRange{0, 3}));
    // Repeated zooming in reaches single samples: 20 steps of 0.5 from 1 M.
    SampleRange range{0, 1000000};
    for (int step = 0; step < 20; ++step) range = zoomRange(range, 0.5, 0.3, total, 1);
    EXPECT_EQ(range.count, 1);

    EXPECT_EQ(panRange({100, 50}, -1000, 1000), (SampleRange{0, 50}));
    EXPECT_EQ(panRange({100, 50}, 10000, 1000), (SampleRange{950, 50}));
    EXPECT_EQ(panRange({100, 50}, 25, 1000), (SampleRange{125, 50}));
}

}  // namespace
}  // namespace orvenda::plots
