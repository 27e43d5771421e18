#include "engine/conversion.h"

#include <algorithm>
#include <cmath>
#include <ctime>
#include <limits>
#include <memory>
#include <new>
#include <optional>
#include <span>

#include "engine/awv_text.h"
#include "engine/halvik_header.h"
#include "engine/if_conversion.h"
#include "engine/marker_track.h"
#include "engine/output_file.h"
#include "engine/progress_window.h"
#include "engine/sample_codes.h"
#include "engine/sample_readers.h"

namespace halvik {
namespace {

constexpr std::size_t kBlockSize = 1024;
// The divisor grows by this much with every written block.
constexpr double kPeakGrowthPerBlock = 1e-12;

// The per-block work area: I and Q values, marker levels and sample words.
struct WorkArea {
    std::size_t size = 0;
    std::unique_ptr<double[]> i;
    std::unique_ptr<double[]> q;
    std::unique_ptr<int32_t[]> level1;
    std::unique_ptr<int32_t[]> level2;
    std::unique_ptr<uint32_t[]> words;

    bool allocate(std::size_t n) {
        size = n;
        i.reset(new (std::nothrow) double[n]());
        q.reset(new (std::nothrow) double[n]());
        level1.reset(new (std::nothrow) int32_t[n]());
        level2.reset(new (std::nothrow) int32_t[n]());
        words.reset(new (std::nothrow) uint32_t[2 * n]());
        return i && q && level1 && level2 && words;
    }
};

std::tm localTimeNow() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return local;
}

class Conversion {
public:
    Conversion(const ConversionRequest& request, const SourceOpener& opener)
        : r_(request), s_(*request.settings), opener_(opener) {}

    int32_t run();

private:
    std::optional<InputSet> openInputs() {
        return InputSet::open(r_.iPath, r_.qPath, r_.inputDataType, r_.inputFileKind, opener_);
    }
    bool converting() const { return s_.IFConvert == 1; }
    bool scanPass();
    bool writePass();
    void showProgress(int32_t done) { progress_.setProgress(done * 100.0 / r_.sampleCount); }

    const ConversionRequest& r_;
    const ConversionSettings& s_;
    const SourceOpener& opener_;
    ProgressWindow progress_;
    std::unique_ptr<OutputFile> output_;
    WorkArea work_;
    std::size_t blockCount_ = 0;
    double step_ = 0.0;
    double peak_ = 1.0;
};

int32_t Conversion::run() {
    step_ = phaseStep(s_.IFFreq, s_.Fs);
    // A NaN peak tells as little as a zero one.
    peak_ = (r_.peakValue == 0.0 || std::isnan(r_.peakValue)) ? 1.0 : r_.peakValue;

    output_ = OutputFile::create(r_.outPath);
    if (!output_) return kFailure;
    HeaderResult header = conversionHeader(s_, r_.sampleCount, localTimeNow());
    if (!header.complete) return kFailure;
    output_->write(header.text);

    if (!progress_.initialise()) return kFailure;
    if (!progress_.loadPanel()) return kFailure;
    progress_.display();

    output_->write(waveDataOpening(int64_t{8} * r_.sampleCount));

    std::size_t n = kBlockSize;
    while (n != 0 && !work_.allocate(n)) n /= 2;
    if (n == 0) return kFailure;
    blockCount_ = static_cast<std::size_t>(std::ceil(static_cast<double>(r_.sampleCount) / static_cast<double>(n)));

    if (converting() && !scanPass()) return kFailure;
    if (!writePass()) return kFailure;

    progress_.setProgress(100.0);
    output_->write(std::string_view(&kWaveDataClosing, 1));
    bool written = output_->commit();
    progress_.close();
    return written ? kSuccess : kFailure;
}

bool Conversion::scanPass() {
    progress_.setStage("Converting BB to IF...");
    peak_ = 0.0;
    std::optional<InputSet> inputs = openInputs();
    if (!inputs) return false;
    std::fill_n(work_.i.get(), work_.size, 0.0);
    std::fill_n(work_.q.get(), work_.size, 0.0);
    int32_t done = 0;
    for (std::size_t b = 0; b < blockCount_; ++b) {
        std::size_t length = std::min(static_cast<std::size_t>(r_.sampleCount - done), work_.size);
        double* i = work_.i.get();
        double* q = work_.q.get();
        inputs->readBlock(std::span(i, length), std::span(q, length));
        convertToIf(i, q, length, done, step_, s_.IFMode);
        double blockPeak = 0.0;
        for (std::size_t k = 0; k < length; ++k) blockPeak = std::max(blockPeak, std::fabs(i[k]));
        if (s_.IFMode != 0) {
            for (std::size_t k = 0; k < length; ++k) blockPeak = std::max(blockPeak, std::fabs(q[k]));
        }
        peak_ = std::max(peak_, blockPeak);
        done += static_cast<int32_t>(length);
        showProgress(done);
    }
    return true;
}

bool Conversion::writePass() {
    std::optional<InputSet> inputs = openInputs();
    if (!inputs) return false;
    progress_.setProgress(0.0);
    progress_.setStage("Writing data...");

    MarkerTrack marker1(r_.marker1);
    MarkerTrack marker2(r_.marker2);
    const int32_t mask1 = (s_.MarkerFlags & HALVIK_MARKER_1_LINE) ? 1 : 0;
    const int32_t mask2 = (s_.MarkerFlags & HALVIK_MARKER_2_LINE) ? 1 : 0;
    const bool inverted = s_.IQInv != 0;
    std::fill_n(work_.i.get(), work_.size, 0.0);
    std::fill_n(work_.q.get(), work_.size, 0.0);

    int32_t done = 0;
    for (std::size_t b = 0; b < blockCount_; ++b) {
        std::size_t length = std::min(static_cast<std::size_t>(r_.sampleCount - done), work_.size);
        double* i = work_.i.get();
        double* q = work_.q.get();
        marker1.fill(work_.level1.get(), length, done);
        marker2.fill(work_.level2.get(), length, done);
        inputs->readBlock(std::span(i, length), std::span(q, length));
        if (converting()) convertToIf(i, q, length, done, step_, s_.IFMode);
        peak_ = peak_ + kPeakGrowthPerBlock;
        encodeBlock(inverted ? q : i, inverted ? i : q, work_.level1.get(), work_.level2.get(), mask1, mask2, peak_,
                    s_.AWGGain, work_.words.get(), length);
        output_->write(work_.words.get(), length * 2 * sizeof(uint32_t));
        done += static_cast<int32_t>(length);
        showProgress(done);
    }
    return true;
}

}  // namespace

bool isAcceptable(const ConversionRequest& request) {
    if (request.settings == nullptr) return false;
    const ConversionSettings& s = *request.settings;
    if (!(s.AWGGain >= 0.0 && s.AWGGain <= 1.0)) return false;
    if (request.sampleCount < 0 || int64_t{8} * request.sampleCount > std::numeric_limits<int32_t>::max()) return false;
    if (s.IFConvert == 1) {
        if (!(std::isfinite(s.Fs) && s.Fs > 0.0 && std::isfinite(s.IFFreq))) return false;
        // A tiny Fs or a huge IFFreq can still put the carrier phase beyond the
        // double range: sin and cos would give NaN for every sample. The phase
        // grows with the sample index, so the last sample's phase decides.
        const double lastIndex = request.sampleCount > 0 ? request.sampleCount - 1.0 : 0.0;
        const double step = phaseStep(s.IFFreq, s.Fs);
        if (!std::isfinite(step) || !std::isfinite(lastIndex * step)) return false;
    }
    return true;
}

int32_t convert(const ConversionRequest& request, const SourceOpener& opener) {
    if (!isAcceptable(request)) return kFailure;
    return Conversion(request, opener).run();
}

}  // namespace halvik
