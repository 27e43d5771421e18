#include "gui/plots/cursor_readout.h"

#include <algorithm>
#include <cmath>

#include "gui/plots/ccdf_plot.h"
#include "gui/plots/constellation_plot.h"
#include "gui/plots/sample_columns.h"
#include "gui/plots/spectrum_plot.h"
#include "gui/plots/time_plot.h"

namespace orvenda::plots {
namespace {

QString number(double value, int decimals) { return QString::number(value, 'f', decimals); }

QString range(const MinMax& entry, bool single) {
    if (single || entry.min == entry.max) return number(entry.max, 4);
    return number(entry.min, 4) + QStringLiteral(" .. ") + number(entry.max, 4);
}

bool inside(const PlotFrame& frame, QPointF position) { return frame.area.adjusted(0, 0, 1, 1).contains(position); }

}  // namespace

QString siText(double value, const QString& unit) {
    static const std::pair<double, const char*> prefixes[] = {{1e9, "G"},  {1e6, "M"},       {1e3, "k"}, {1.0, ""},
                                                              {1e-3, "m"}, {1e-6, "\u00b5"}, {1e-9, "n"}};
    const double magnitude = std::abs(value);
    double scale = 1.0;
    QString symbol;
    if (magnitude > 0.0) {
        scale = 1e-9;
        symbol = QStringLiteral("n");
        for (const auto& [factor, prefix] : prefixes) {
            if (magnitude >= factor * 0.9995) {
                scale = factor;
                symbol = QString::fromUtf8(prefix);
                break;
            }
        }
    }
    const double scaled = value / scale;
    const int decimals = std::abs(scaled) >= 100 ? 0 : std::abs(scaled) >= 10 ? 1 : 2;
    return number(scaled, decimals) + QLatin1Char(' ') + symbol + unit;
}

QString timeReadout(const TimeTraces& traces, const QRectF& bounds, QPointF position) {
    const TimePlotLayout layout = timePlotLayout(bounds, traces);
    const int n = static_cast<int>(traces.i.size());
    if (n == 0 || traces.count <= 0 || position.x() < layout.frame.area.left() ||
        position.x() > layout.frame.area.right())
        return {};
    const auto index = std::clamp(static_cast<int64_t>(std::floor(layout.frame.x.toValue(position.x()))), traces.first,
                                  traces.first + traces.count - 1);
    const SampleRange visible{traces.first, traces.count};
    const int column = traces.perSample() ? static_cast<int>(index - traces.first) : columnOfSample(visible, n, index);
    const SampleRange span = traces.perSample() ? SampleRange{index, 1} : columnSamples(visible, n, column);
    const bool single = span.count == 1;
    QString text = QStringLiteral("Sample %1").arg(index);
    if (!single) text += QStringLiteral(" (column %1 .. %2)").arg(span.first).arg(span.end() - 1);
    if (traces.sampleRateHz > 0.0)
        text += QStringLiteral("   Time %1").arg(siText(static_cast<double>(index) / traces.sampleRateHz, "s"));
    text += QStringLiteral("   I %1   Q %2   |x| %3")
                .arg(range(traces.i[column], single), range(traces.q[column], single),
                     range(traces.magnitude[column], single));
    return text;
}

QString spectrumReadout(const SpectrumCurve& curve, const QRectF& bounds, QPointF position) {
    const PlotFrame frame = spectrumPlotFrame(bounds, curve);
    const size_t n = std::min(curve.frequencyHz.size(), curve.powerDb.size());
    if (n == 0 || !inside(frame, position)) return {};
    const double frequency = frame.x.toValue(position.x());
    // The nearest bin of the ascending frequency list.
    const auto upper = std::lower_bound(curve.frequencyHz.begin(), curve.frequencyHz.begin() + n, frequency);
    size_t bin = static_cast<size_t>(upper - curve.frequencyHz.begin());
    if (bin == n || (bin > 0 && frequency - curve.frequencyHz[bin - 1] < curve.frequencyHz[bin] - frequency))
        bin = bin == 0 ? 0 : bin - 1;
    const QString where = curve.frequencyKnown
                              ? QStringLiteral("Frequency %1").arg(siText(curve.frequencyHz[bin], "Hz"))
                              : QStringLiteral("Bin %1").arg(number(curve.frequencyHz[bin], 0));
    return where + QStringLiteral("   Level %1 dBFS").arg(number(curve.powerDb[bin], 2));
}

QString constellationReadout(const DensityGrid& grid, const QRectF& bounds, QPointF position) {
    const PlotFrame frame = constellationPlotFrame(bounds, grid);
    if (grid.size <= 0 || !inside(frame, position)) return {};
    const double i = frame.x.toValue(position.x()), q = frame.y.toValue(position.y());
    const auto cell = [&](double v) {
        return std::clamp(static_cast<int>((v + grid.extent) / (2 * grid.extent) * grid.size), 0, grid.size - 1);
    };
    const uint64_t count = grid.counts.empty() ? 0 : grid.counts[static_cast<size_t>(cell(q)) * grid.size + cell(i)];
    return QStringLiteral("I %1   Q %2   Samples in cell %3").arg(number(i, 4), number(q, 4)).arg(count);
}

QString ccdfReadout(const CcdfCurve& curve, const QRectF& bounds, QPointF position) {
    const PlotFrame frame = ccdfPlotFrame(bounds, curve);
    if (!inside(frame, position)) return {};
    const double level = frame.x.toValue(position.x());
    QString text = QStringLiteral("Level %1 dB above average").arg(number(level, 2));
    // The curve's probability at that level (its points lie kCcdfStepDb apart, ascending).
    const auto at = std::lower_bound(curve.levelDb.begin(), curve.levelDb.end(), level);
    if (at != curve.levelDb.end() && at - curve.levelDb.begin() < static_cast<long>(curve.probability.size()))
        text += QStringLiteral("   Probability %1").arg(curve.probability[at - curve.levelDb.begin()], 0, 'e', 2);
    else if (!curve.levelDb.empty())
        text += QStringLiteral("   Probability 0 (above the peak)");
    return text;
}

}  // namespace orvenda::plots
