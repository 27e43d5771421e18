// Where the ticks of a plot axis go and what their labels read: plain
// functions of the axis range, tested without painting.
#ifndef ORVENDA_GUI_PLOTS_AXIS_TICKS_H
#define ORVENDA_GUI_PLOTS_AXIS_TICKS_H

#include <string>
#include <vector>

namespace orvenda::plots {

// Ticks at whole multiples of a "nice" step (1, 2 or 5 times a power of ten)
// inside [lo, hi], at most `maxTicks` of them (at least 2 when the range is
// not empty). lo > hi is taken as hi..lo.
struct LinearTicks {
    double step = 0.0;
    std::vector<double> values;
};
LinearTicks linearTicks(double lo, double hi, int maxTicks);

// The powers of ten within [lo, hi] (both > 0), for a logarithmic axis.
std::vector<double> decadeTicks(double lo, double hi);

// A tick label with an SI prefix chosen from the value (or the step near 0),
// e.g. 2.5e6 with step
// 5e5 and unit "Hz" reads "2.5 MHz"; just enough decimals to tell
// neighbouring ticks apart. An empty unit gives a plain number.
std::string tickLabel(double value, double step, const std::string& unit);

// "1e-3" style label of a power of ten; 1 and 0.1 read "1" and "0.1".
std::string decadeLabel(double value);

}  // namespace orvenda::plots

#endif
