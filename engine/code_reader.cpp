#include "engine/code_reader.h"

#include <algorithm>
#include <cmath>
#include <span>

#include "engine/if_conversion.h"
#include "engine/sample_codes.h"

namespace halvik {
namespace {

bool converting(const ConversionSettings& s) { return s.IFConvert == 1; }

// Bytes per sample of a layout whose sample k starts at byte k * size; 0 for text.
std::uint64_t fixedSampleBytes(const ConversionRequest& r) {
    if (r.inputFileKind != HALVIK_KIND_IQ_FILE) return 0;
    if (r.inputDataType == HALVIK_TYPE_INT16_PAIRS) return 2 * sizeof(int16_t);
    if (r.inputDataType == HALVIK_TYPE_FLOAT_PAIRS) return 2 * sizeof(float);
    return 0;
}

}  // namespace

std::unique_ptr<ByteSource> openFileSourceAt(const std::string& path, std::uint64_t offset) {
    std::unique_ptr<FileByteSource> source = FileByteSource::open(path);
    if (source && offset != 0 && !source->seek(offset)) return nullptr;
    return source;
}

StartingPeak startingPeak(const ConversionRequest& request, const SourceOpener& opener,
                          const std::function<bool(std::int64_t)>& keepGoing) {
    const ConversionSettings& s = *request.settings;
    StartingPeak result;
    if (!converting(s)) {
        result.peak = (request.peakValue == 0.0 || std::isnan(request.peakValue)) ? 1.0 : request.peakValue;
        return result;
    }
    // The scan pass: the largest magnitude of the shifted samples.
    std::optional<InputSet> inputs =
        InputSet::open(request.iPath, request.qPath, request.inputDataType, request.inputFileKind, opener);
    if (!inputs) {
        result.opened = false;
        return result;
    }
    const double step = phaseStep(s.IFFreq, s.Fs);
    std::vector<double> i(kWriteBlockSamples), q(kWriteBlockSamples);
    double peak = 0.0;
    for (std::int64_t done = 0; done < request.sampleCount;) {
        if (keepGoing && !keepGoing(done)) {
            result.stopped = true;
            return result;
        }
        std::size_t length =
            static_cast<std::size_t>(std::min<std::int64_t>(request.sampleCount - done, kWriteBlockSamples));
        inputs->readBlock(std::span(i.data(), length), std::span(q.data(), length));
        peak = shiftedPeak(i.data(), q.data(), length, done, step, s.IFMode, peak);
        done += static_cast<std::int64_t>(length);
    }
    result.peak = peak;
    return result;
}

double blockPeak(double start, std::size_t block) {
    double peak = start;
    for (std::size_t b = 0; b <= block; ++b) peak = peak + kWritePeakGrowth;
    return peak;
}

std::unique_ptr<CodeReader> CodeReader::open(const ConversionRequest& request, double startingPeak,
                                             const OffsetSourceOpener& opener,
                                             std::shared_ptr<TextCheckpoints> checkpoints) {
    if (!checkpoints) checkpoints = std::make_shared<TextCheckpoints>();
    std::unique_ptr<CodeReader> reader(new CodeReader(request, startingPeak, opener, std::move(checkpoints)));
    if (!reader->seekInputs(0)) return nullptr;
    return reader;
}

CodeReader::CodeReader(const ConversionRequest& request, double startingPeak, const OffsetSourceOpener& opener,
                       std::shared_ptr<TextCheckpoints> checkpoints)
    : request_(request),
      settings_(*request.settings),
      opener_(opener),
      startingPeak_(startingPeak),
      step_(phaseStep(settings_.IFFreq, settings_.Fs)),
      seekable_(fixedSampleBytes(request) != 0),
      checkpoints_(std::move(checkpoints)),
      marker1_(request.marker1),
      marker2_(request.marker2),
      cachedPeak_(blockPeak(startingPeak, 0)) {
    request_.settings = &settings_;
}

bool CodeReader::seekInputs(std::int64_t first) {
    if (inputs_ && first == inputPosition_) return true;
    if (seekable_) {
        std::uint64_t offset = static_cast<std::uint64_t>(first) * fixedSampleBytes(request_);
        SourceOpener at = [&](const std::string& path) { return opener_(path, offset); };
        inputs_ = InputSet::open(request_.iPath, request_.qPath, request_.inputDataType, request_.inputFileKind, at);
        inputPosition_ = first;
        return inputs_.has_value();
    }
    // Text has no fixed sample size: read forward from the latest checkpoint
    // at or before first, unless the open inputs are already nearer.
    const std::optional<TextCheckpoints::Point> mark = checkpoints_->latestAtOrBefore(first);
    const std::int64_t markSample = mark ? mark->sample : 0;
    if (!inputs_ || first < inputPosition_ || markSample > inputPosition_) {
        if (!reopenText(mark)) return false;
    }
    i_.resize(std::max(i_.size(), kWriteBlockSamples));
    q_.resize(i_.size());
    while (inputPosition_ < first) {
        const std::int64_t toCheckpoint = TextCheckpoints::kInterval - inputPosition_ % TextCheckpoints::kInterval;
        std::size_t length = static_cast<std::size_t>(
            std::min({first - inputPosition_, toCheckpoint, static_cast<std::int64_t>(i_.size())}));
        inputs_->readBlock(std::span(i_.data(), length), std::span(q_.data(), length));
        inputPosition_ += static_cast<std::int64_t>(length);
        noteCheckpoint();
    }
    return true;
}

bool CodeReader::reopenText(const std::optional<TextCheckpoints::Point>& from) {
    openedAt_.clear();
    SourceOpener at = [&](const std::string& path) {
        const std::size_t file = openedAt_.size();
        const std::uint64_t offset = from && file < from->offsets.size() ? from->offsets[file] : 0;
        openedAt_.push_back(offset);
        return opener_(path, offset);
    };
    inputs_ = InputSet::open(request_.iPath, request_.qPath, request_.inputDataType, request_.inputFileKind, at);
    inputPosition_ = from ? from->sample : 0;
    return inputs_.has_value();
}

void CodeReader::noteCheckpoint() {
    if (seekable_ || inputPosition_ % TextCheckpoints::kInterval != 0) return;
    std::optional<std::vector<std::uint64_t>> offsets = inputs_->nextLineOffsets();
    if (!offsets || offsets->size() != openedAt_.size()) return;
    for (std::size_t file = 0; file < offsets->size(); ++file) (*offsets)[file] += openedAt_[file];
    checkpoints_->note(inputPosition_, std::move(*offsets));
}

void CodeReader::seekMarkers(std::int64_t first) {
    if (first < markerPosition_) {
        marker1_.reset();
        marker2_.reset();
        markerPosition_ = 0;
    }
    // The walk only continues forward: replay the skipped samples.
    level1_.resize(std::max(level1_.size(), std::size_t{1} << 16));
    level2_.resize(level1_.size());
    while (markerPosition_ < first) {
        std::size_t length = static_cast<std::size_t>(
            std::min<std::int64_t>(first - markerPosition_, static_cast<std::int64_t>(level1_.size())));
        marker1_.fill(level1_.data(), length, markerPosition_);
        marker2_.fill(level2_.data(), length, markerPosition_);
        markerPosition_ += static_cast<std::int64_t>(length);
    }
}

double CodeReader::peakOfBlock(std::size_t block) {
    if (block < cachedBlock_) {
        cachedBlock_ = 0;
        cachedPeak_ = blockPeak(startingPeak_, 0);
    }
    while (cachedBlock_ < block) {
        cachedPeak_ = cachedPeak_ + kWritePeakGrowth;
        ++cachedBlock_;
    }
    return cachedPeak_;
}

bool CodeReader::read(std::int64_t first, std::size_t count, std::uint32_t* words, double* exactA, double* exactB) {
    if (!seekInputs(first)) return false;
    const int32_t mask1 = (settings_.MarkerFlags & HALVIK_MARKER_1_LINE) ? 1 : 0;
    const int32_t mask2 = (settings_.MarkerFlags & HALVIK_MARKER_2_LINE) ? 1 : 0;
    const bool markers = mask1 != 0 || mask2 != 0;
    if (markers) seekMarkers(first);
    const bool inverted = settings_.IQInv != 0;
    const double gain = settings_.AWGGain;
    if (i_.size() < kWriteBlockSamples) {
        i_.resize(kWriteBlockSamples);
        q_.resize(kWriteBlockSamples);
    }
    if (level1_.size() < kWriteBlockSamples) {
        level1_.resize(kWriteBlockSamples);
        level2_.resize(kWriteBlockSamples);
    }

    std::size_t done = 0;
    while (done < count) {
        const std::int64_t at = first + static_cast<std::int64_t>(done);
        const std::size_t block = static_cast<std::size_t>(at) / kWriteBlockSamples;
        // Pieces never cross a write block: each block has its own divisor.
        const std::size_t length =
            std::min(count - done, (block + 1) * kWriteBlockSamples - static_cast<std::size_t>(at));
        double* i = i_.data();
        double* q = q_.data();
        if (markers) {
            marker1_.fill(level1_.data(), length, at);
            marker2_.fill(level2_.data(), length, at);
            markerPosition_ = at + static_cast<std::int64_t>(length);
        } else {
            std::fill_n(level1_.data(), length, 0);
            std::fill_n(level2_.data(), length, 0);
        }
        inputs_->readBlock(std::span(i, length), std::span(q, length));
        inputPosition_ = at + static_cast<std::int64_t>(length);
        noteCheckpoint();
        if (converting(settings_)) convertToIf(i, q, length, at, step_, settings_.IFMode);
        const double peak = peakOfBlock(block);
        const double* a = inverted ? q : i;
        const double* b = inverted ? i : q;
        encodeBlock(a, b, level1_.data(), level2_.data(), mask1, mask2, peak, gain, words + 2 * done, length);
        if (exactA != nullptr) {
            for (std::size_t k = 0; k < length; ++k) exactA[done + k] = scaledCodeValue(a[k], peak, gain);
        }
        if (exactB != nullptr) {
            for (std::size_t k = 0; k < length; ++k) exactB[done + k] = scaledCodeValue(b[k], peak, gain);
        }
        done += length;
    }
    return true;
}

}  // namespace halvik
