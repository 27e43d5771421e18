#include "gui/plots/axis_ticks.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <system_error>

namespace orvenda::plots {
namespace {

// The smallest 1-2-5 step that keeps the span within `maxTicks` ticks.
double niceStep(double span, int maxTicks) {
    const double rough = span / std::max(1, maxTicks - 1);
    const double decade = std::pow(10.0, std::floor(std::log10(rough)));
    for (double factor : {1.0, 2.0, 5.0, 10.0}) {
        if (factor * decade >= rough * (1.0 - 1e-9)) return factor * decade;
    }
    return 10.0 * decade;
}

struct Prefix {
    double scale;
    const char* symbol;
};

// The prefix for the step, so that every label of an axis has the same one.
Prefix prefixFor(double magnitude) {
    static const Prefix prefixes[] = {{1e9, "G"},  {1e6, "M"},       {1e3, "k"}, {1.0, ""},
                                      {1e-3, "m"}, {1e-6, "\u00b5"}, {1e-9, "n"}};
    for (const Prefix& prefix : prefixes) {
        if (magnitude >= prefix.scale * (1.0 - 1e-9)) return prefix;
    }
    return prefixes[std::size(prefixes) - 1];
}

}  // namespace

LinearTicks linearTicks(double lo, double hi, int maxTicks) {
    if (lo > hi) std::swap(lo, hi);
    LinearTicks ticks;
    if (!std::isfinite(lo) || !std::isfinite(hi)) return ticks;
    if (hi - lo <= 0.0) {
        ticks.values = {lo};
        return ticks;
    }
    ticks.step = niceStep(hi - lo, std::max(2, maxTicks));
    double first = std::ceil(lo / ticks.step - 1e-9);
    double last = std::floor(hi / ticks.step + 1e-9);
    // A narrow range between two multiples of the step: the next smaller
    // 1-2-5 step has one inside (the step is at most 5 times the span).
    while (first > last) {
        const double mantissa = ticks.step / std::pow(10.0, std::floor(std::log10(ticks.step) + 1e-9));
        ticks.step *= mantissa > 4.5 ? 0.4 : 0.5;  // 5 -> 2, 2 -> 1, 1 -> 0.5
        first = std::ceil(lo / ticks.step - 1e-9);
        last = std::floor(hi / ticks.step + 1e-9);
    }
    for (double k = first; k <= last; k += 1.0) {
        double value = k * ticks.step;
        if (std::abs(value) < ticks.step * 1e-9) value = 0.0;  // no "-0"
        ticks.values.push_back(value);
    }
    return ticks;
}

std::vector<double> decadeTicks(double lo, double hi) {
    if (lo > hi) std::swap(lo, hi);
    std::vector<double> ticks;
    if (!(lo > 0.0) || !std::isfinite(hi)) return ticks;
    for (int exponent = static_cast<int>(std::ceil(std::log10(lo) - 1e-9));
         exponent <= static_cast<int>(std::floor(std::log10(hi) + 1e-9)); ++exponent)
        ticks.push_back(std::pow(10.0, exponent));
    return ticks;
}

std::string tickLabel(double value, double step, const std::string& unit) {
    Prefix prefix{1.0, ""};
    if (!unit.empty() && step > 0.0) prefix = prefixFor(std::max(step, std::abs(value)));
    const double scaled = value / prefix.scale;
    const double scaledStep = step > 0.0 ? step / prefix.scale : 1.0;
    // Decimals that resolve the step: a step of 0.25 needs two.
    int decimals = 0;
    while (decimals < 9 &&
           std::abs(scaledStep * std::pow(10.0, decimals) - std::round(scaledStep * std::pow(10.0, decimals))) > 1e-6)
        ++decimals;
    // "%.*f" with a point whatever locale the program runs under (Orvenda
    // adopts the user's): the window, its exported pictures and
    // orvenda-cli's show the same labels. Wide enough for any double.
    char text[400];
    const std::to_chars_result printed =
        std::to_chars(text, text + sizeof text, scaled, std::chars_format::fixed, decimals);
    std::string label(text, printed.ec == std::errc() ? printed.ptr : text);
    if (label[0] == '-' && label.find_first_not_of("-0.") == std::string::npos)
        label.erase(0, 1);  // "-0.0" reads "0.0"
    if (!unit.empty()) {
        label.push_back(' ');
        label.append(prefix.symbol).append(unit);
    }
    return label;
}

std::string decadeLabel(double value) {
    const int exponent = static_cast<int>(std::lround(std::log10(value)));
    if (exponent == 0) return "1";
    if (exponent == -1) return "0.1";
    return "1e" + std::to_string(exponent);
}

}  // namespace orvenda::plots
