#include "core/analysis/conversion_source.h"

#include <algorithm>
#include <cmath>

#include "core/analysis/code_words.h"
#include "engine/code_reader.h"
#include "engine/conversion.h"

namespace orvenda::analysis {
namespace {

constexpr std::size_t kMarkerEntries = halvik::kLastMarkerEntry + 1;

std::vector<MarkerPoint> padded(std::vector<MarkerPoint> points) {
    if (!points.empty() && points.size() < kMarkerEntries) points.resize(kMarkerEntries, MarkerPoint{0, 0});
    return points;
}

}  // namespace

struct ConversionSampleSource::State {
    ConversionInput input;
    halvik::ConversionRequest request;
    double peak = 1.0;
    // Every cursor of the source notes and uses the same points in text
    // inputs, so a zoom after the whole-file pass starts near its range.
    std::shared_ptr<halvik::TextCheckpoints> checkpoints = std::make_shared<halvik::TextCheckpoints>();

    void bind() {
        const HalvikArguments& a = input.arguments;
        request.iPath = a.iPath;
        request.qPath = a.qPath;
        request.inputDataType = a.inputDataType;
        request.inputFileKind = a.inputFileKind;
        request.marker1 = input.marker1.empty() ? nullptr : input.marker1.data();
        request.marker2 = input.marker2.empty() ? nullptr : input.marker2.data();
        request.sampleCount = a.sampleCount;
        request.peakValue = a.peakValue;
        request.settings = &input.arguments.settings;
    }
};

namespace {

class ConversionCursor final : public SampleCursor {
public:
    explicit ConversionCursor(std::unique_ptr<halvik::CodeReader> reader) : reader_(std::move(reader)) {}

    bool read(std::uint64_t first, std::size_t count, SampleBlock& block) override {
        block.resize(count, true);
        if (!reader_) {
            error_ = "the input files cannot be opened";
            return false;
        }
        return readDecodedChunks(
            words_, first, count, block,
            [this, &block](std::uint64_t at, std::size_t length, std::uint32_t* words, std::size_t offset) {
                if (reader_->read(static_cast<std::int64_t>(at), length, words, block.exactI.data() + offset,
                                  block.exactQ.data() + offset))
                    return true;
                error_ = "the input files cannot be read again";
                return false;
            });
    }
    std::string error() const override { return error_; }

private:
    std::unique_ptr<halvik::CodeReader> reader_;
    std::vector<std::uint32_t> words_;
    std::string error_;
};

}  // namespace

ConversionOpenResult ConversionSampleSource::open(const ConversionInput& input, const AnalysisControl& control) {
    auto state = std::make_unique<State>();
    state->input = input;
    state->input.marker1 = padded(input.marker1);
    state->input.marker2 = padded(input.marker2);
    state->bind();
    ConversionOpenResult result;
    if (!halvik::isAcceptable(state->request)) {
        result.status = {Outcome::Failed, "these settings cannot be converted (gain, sample count or IF values)"};
        return result;
    }
    const double total = std::max(1, input.arguments.sampleCount);
    auto keepGoing = [&](std::int64_t done) {
        if (control.progress && done % (std::int64_t{1} << 20) == 0)
            control.progress(static_cast<double>(done) / total);
        return !control.cancelled();
    };
    halvik::StartingPeak peak = halvik::startingPeak(state->request, halvik::openFileSource, keepGoing);
    if (peak.stopped) {
        result.status = {Outcome::Cancelled, {}};
        return result;
    }
    if (!peak.opened) {
        result.status = {Outcome::Failed, "the input files cannot be opened"};
        return result;
    }
    state->peak = peak.peak;
    if (!halvik::CodeReader::open(state->request, state->peak, halvik::openFileSourceAt, state->checkpoints)) {
        result.status = {Outcome::Failed, "the input files cannot be opened"};
        return result;
    }
    if (control.progress) control.progress(1.0);
    result.source.reset(new ConversionSampleSource(std::move(state)));
    return result;
}

ConversionSampleSource::ConversionSampleSource(std::unique_ptr<State> state) : state_(std::move(state)) {}
ConversionSampleSource::~ConversionSampleSource() = default;

std::uint64_t ConversionSampleSource::size() const {
    return static_cast<std::uint64_t>(std::max(0, state_->request.sampleCount));
}

double ConversionSampleSource::samplingFrequency() const {
    const double fs = state_->input.arguments.settings.Fs;
    return fs > 0.0 && std::isfinite(fs) ? fs : 0.0;
}

bool ConversionSampleSource::isComplex() const {
    const ConversionSettings& s = state_->input.arguments.settings;
    // A real IF leaves Q at 0; inverted, that 0 rides in word A and word B holds the signal.
    return !(s.IFConvert == 1 && s.IFMode == 0 && s.IQInv == 0);
}

bool ConversionSampleSource::hasMarkers() const { return (state_->input.arguments.settings.MarkerFlags & 0x6) != 0; }

std::unique_ptr<SampleCursor> ConversionSampleSource::openCursor() const {
    return std::make_unique<ConversionCursor>(
        halvik::CodeReader::open(state_->request, state_->peak, halvik::openFileSourceAt, state_->checkpoints));
}

double ConversionSampleSource::startingPeak() const { return state_->peak; }

}  // namespace orvenda::analysis
