#include "core/analysis/welch.h"

#include <fftw3.h>

#include <cmath>
#include <complex>
#include <cstring>
#include <mutex>
#include <numbers>

namespace orvenda::analysis {
namespace {

// FFTW's planner keeps global state: plans are made and destroyed one at a time.
std::mutex& plannerMutex() {
    static std::mutex mutex;
    return mutex;
}

constexpr double kEmptyBinDb = -400.0;

}  // namespace

struct WelchAccumulator::Fft {
    fftwf_complex* in = nullptr;
    fftwf_complex* out = nullptr;
    fftwf_complex* segment = nullptr;  // the buffered samples, full scale = 1
    fftwf_plan plan = nullptr;

    explicit Fft(std::size_t n) {
        std::lock_guard lock(plannerMutex());
        in = fftwf_alloc_complex(n);
        out = fftwf_alloc_complex(n);
        segment = fftwf_alloc_complex(n);
        plan = fftwf_plan_dft_1d(static_cast<int>(n), in, out, FFTW_FORWARD, FFTW_ESTIMATE);
    }
    ~Fft() {
        std::lock_guard lock(plannerMutex());
        fftwf_destroy_plan(plan);
        fftwf_free(in);
        fftwf_free(out);
        fftwf_free(segment);
    }
};

WelchAccumulator::WelchAccumulator(std::size_t fftSize)
    : size_(fftSize), window_(fftSize), sums_(fftSize, 0.0), fft_(std::make_unique<Fft>(fftSize)) {
    // The periodic Hann window: its noise bandwidth is exactly 1.5 bins.
    for (std::size_t k = 0; k < size_; ++k)
        window_[k] = static_cast<float>(
            0.5 - 0.5 * std::cos(2.0 * std::numbers::pi * static_cast<double>(k) / static_cast<double>(size_)));
}

WelchAccumulator::~WelchAccumulator() = default;

void WelchAccumulator::add(const SampleBlock& block, std::size_t from, std::size_t to) {
    constexpr float kScale = 1.0f / 8191.0f;
    const std::int16_t* i = block.i.data();
    const std::int16_t* q = block.q.data();
    while (from < to) {
        std::size_t n = std::min(to - from, size_ - filled_);
        fftwf_complex* segment = fft_->segment + filled_;
        for (std::size_t k = 0; k < n; ++k) {
            segment[k][0] = static_cast<float>(i[from + k]) * kScale;
            segment[k][1] = static_cast<float>(q[from + k]) * kScale;
        }
        filled_ += n;
        from += n;
        if (filled_ == size_) {
            transform();
            const std::size_t half = size_ / 2;
            std::memcpy(fft_->segment, fft_->segment + half, half * sizeof(fftwf_complex));
            filled_ = half;
        }
    }
}

void WelchAccumulator::finishShort() {
    if (segments_ != 0 || filled_ == 0) return;
    std::memset(fft_->segment + filled_, 0, (size_ - filled_) * sizeof(fftwf_complex));
    transform();
    filled_ = 0;
}

std::size_t WelchAccumulator::missingForPending() const { return filled_ > 0 ? size_ - filled_ : 0; }

void WelchAccumulator::transform() {
    fftwf_complex* in = fft_->in;
    const fftwf_complex* segment = fft_->segment;
    for (std::size_t k = 0; k < size_; ++k) {
        in[k][0] = segment[k][0] * window_[k];
        in[k][1] = segment[k][1] * window_[k];
    }
    fftwf_execute(fft_->plan);
    const fftwf_complex* out = fft_->out;
    for (std::size_t k = 0; k < size_; ++k) {
        const double re = out[k][0];
        const double im = out[k][1];
        sums_[k] += re * re + im * im;
    }
    ++segments_;
}

Spectrum welchSpectrum(const std::vector<const WelchAccumulator*>& parts, double samplingFrequency, bool complex) {
    Spectrum spectrum;
    if (parts.empty()) return spectrum;
    const std::size_t n = parts.front()->fftSize();
    std::vector<double> sums(n, 0.0);
    for (const WelchAccumulator* part : parts) {
        spectrum.segments += part->segments();
        for (std::size_t k = 0; k < n; ++k) sums[k] += part->powerSums()[k];
    }
    const double fs = samplingFrequency > 0.0 ? samplingFrequency : 1.0;
    spectrum.fftSize = n;
    spectrum.binWidthHz = fs / static_cast<double>(n);
    spectrum.noiseBandwidthBins = 1.5;
    spectrum.centred = complex;
    // (sum of the window)^2 = (n / 2)^2 for the periodic Hann window.
    const double coherent = static_cast<double>(n) / 2.0;
    const double norm =
        spectrum.segments == 0 ? 0.0 : 1.0 / (coherent * coherent * static_cast<double>(spectrum.segments));
    auto toDb = [&](double sum) {
        const double power = sum * norm;
        return power > 0.0 ? 10.0 * std::log10(power) : kEmptyBinDb;
    };
    if (complex) {
        spectrum.frequencyHz.resize(n);
        spectrum.powerDbfs.resize(n);
        for (std::size_t j = 0; j < n; ++j) {
            const std::size_t bin = (j + n / 2) % n;
            spectrum.frequencyHz[j] = (static_cast<double>(j) - static_cast<double>(n / 2)) * spectrum.binWidthHz;
            spectrum.powerDbfs[j] = toDb(sums[bin]);
        }
    } else {
        spectrum.frequencyHz.resize(n / 2 + 1);
        spectrum.powerDbfs.resize(n / 2 + 1);
        for (std::size_t j = 0; j <= n / 2; ++j) {
            spectrum.frequencyHz[j] = static_cast<double>(j) * spectrum.binWidthHz;
            spectrum.powerDbfs[j] = toDb(sums[j]);
        }
    }
    return spectrum;
}

}  // namespace orvenda::analysis
