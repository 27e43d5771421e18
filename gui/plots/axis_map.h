// The mapping between an axis's values and pixel positions, linear or
// logarithmic, both ways; plain arithmetic shared by painting and the
// cursor read-out.
#ifndef ORVENDA_GUI_PLOTS_AXIS_MAP_H
#define ORVENDA_GUI_PLOTS_AXIS_MAP_H

#include <algorithm>
#include <cmath>

namespace orvenda::plots {

enum class AxisScale { Linear, Log10 };

class AxisMap {
public:
    AxisMap() = default;
    // Value `lo` lands on pixel `pixelLo`, `hi` on `pixelHi` (a vertical axis
    // has pixelLo > pixelHi). A log axis needs lo, hi > 0.
    AxisMap(double lo, double hi, double pixelLo, double pixelHi, AxisScale scale = AxisScale::Linear)
        : lo_(lo), hi_(hi), pixelLo_(pixelLo), pixelHi_(pixelHi), scale_(scale) {}

    double lo() const { return lo_; }
    double hi() const { return hi_; }
    AxisScale scale() const { return scale_; }

    double toPixel(double value) const {
        const double a = warp(lo_), b = warp(hi_);
        if (b == a) return (pixelLo_ + pixelHi_) / 2;
        return pixelLo_ + (warp(value) - a) / (b - a) * (pixelHi_ - pixelLo_);
    }
    double toValue(double pixel) const {
        if (pixelHi_ == pixelLo_) return lo_;
        const double a = warp(lo_), b = warp(hi_);
        return unwarp(a + (pixel - pixelLo_) / (pixelHi_ - pixelLo_) * (b - a));
    }
    // Pixels kept inside the axis, so huge values do not overflow a painter.
    double toClampedPixel(double value) const {
        return std::clamp(toPixel(value), std::min(pixelLo_, pixelHi_), std::max(pixelLo_, pixelHi_));
    }

private:
    double warp(double v) const { return scale_ == AxisScale::Log10 ? std::log10(std::max(v, 1e-300)) : v; }
    double unwarp(double v) const { return scale_ == AxisScale::Log10 ? std::pow(10.0, v) : v; }

    double lo_ = 0.0, hi_ = 1.0;
    double pixelLo_ = 0.0, pixelHi_ = 1.0;
    AxisScale scale_ = AxisScale::Linear;
};

}  // namespace orvenda::plots

#endif
