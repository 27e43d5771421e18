#include "engine/conversion.h"

#include <algorithm>
#include <cmath>
#include <ctime>
#include <limits>
#include <memory>
#include <new>
#include <optional>
#include <span>
#include <string>

#include "engine/awv_text.h"
#include "engine/halvik_header.h"
#include "engine/if_conversion.h"
#include "engine/marker_track.h"
#include "engine/output_file.h"
#include "engine/progress_window.h"
#include "engine/sample_codes.h"
#include "engine/sample_readers.h"
#include "engine/shifted_store.h"
#include "engine/thread_count.h"
#include "engine/worker_team.h"

namespace halvik {
namespace {

constexpr std::size_t kBlockSize = 1024;
// Blocks are read, shifted and encoded a chunk at a time, so that the threads
// share out work large enough to outweigh their hand-over.
constexpr std::size_t kChunkBlocks = 64;
// The sin-cos work of a chunk is cut into this many pieces; a thread that
// finishes early takes the next one.
constexpr std::size_t kShiftPieces = 16;
// The divisor grows by this much with every written block.
constexpr double kPeakGrowthPerBlock = 1e-12;

// The per-chunk work area: I and Q values, marker levels and sample words of
// `blocks` blocks of `size` samples, and each block's divisor.
struct WorkArea {
    std::size_t size = 0;
    std::size_t blocks = 0;
    std::unique_ptr<double[]> i;
    std::unique_ptr<double[]> q;
    std::unique_ptr<int32_t[]> level1;
    std::unique_ptr<int32_t[]> level2;
    std::unique_ptr<uint32_t[]> words;
    std::unique_ptr<double[]> divisors;

    bool allocate(std::size_t n, std::size_t blockCount) {
        size = n;
        blocks = blockCount;
        std::size_t values = n * blockCount;
        i.reset(new (std::nothrow) double[values]());
        q.reset(new (std::nothrow) double[values]());
        level1.reset(new (std::nothrow) int32_t[values]());
        level2.reset(new (std::nothrow) int32_t[values]());
        words.reset(new (std::nothrow) uint32_t[2 * values]());
        divisors.reset(new (std::nothrow) double[blockCount]());
        return i && q && level1 && level2 && words && divisors;
    }
};

std::tm localTimeNow() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return local;
}

std::string folderOf(const std::string& path) {
    std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

class Conversion {
public:
    Conversion(const ConversionRequest& request, const SourceOpener& opener)
        : r_(request), s_(*request.settings), opener_(opener) {}

    int32_t run();

private:
    std::optional<InputSet> openInputs() {
        return InputSet::open(r_.iPath, r_.qPath, r_.inputDataType, r_.inputFileKind, opener_, team_.get());
    }
    bool converting() const { return s_.IFConvert == 1; }
    bool complexShift() const { return s_.IFMode != 0; }
    bool allocateWork();
    std::size_t chunkLength(std::size_t firstBlock, int32_t done) const;
    double shiftChunk(std::size_t length, int32_t first);
    bool keepShifted(std::size_t length);
    bool scanPass();
    bool writePass();
    void showProgress(int32_t done) { progress_.setProgress(done * 100.0 / r_.sampleCount); }

    const ConversionRequest& r_;
    const ConversionSettings& s_;
    const SourceOpener& opener_;
    ProgressWindow progress_;
    std::unique_ptr<OutputFile> output_;
    std::unique_ptr<WorkerTeam> team_;
    std::unique_ptr<ShiftedStore> shifted_;  // the scan's results, when kept
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

    if (!allocateWork()) return kFailure;
    blockCount_ =
        static_cast<std::size_t>(std::ceil(static_cast<double>(r_.sampleCount) / static_cast<double>(work_.size)));
    team_ = std::make_unique<WorkerTeam>(conversionThreads(r_.threads));

    if (converting()) {
        if (!r_.ifTwoPass && !ifTwoPassRequested()) {
            shifted_ = std::make_unique<ShiftedStore>(folderOf(output_->temporaryPath()));
        }
        if (!scanPass()) return kFailure;
    }
    if (!writePass()) return kFailure;
    team_.reset();
    shifted_.reset();

    progress_.setProgress(100.0);
    output_->write(std::string_view(&kWaveDataClosing, 1));
    bool written = output_->commit();
    progress_.close();
    return written ? kSuccess : kFailure;
}

// Blocks of 1024 samples, a chunk of them at once; with little memory one
// block, then smaller blocks (the block size shapes the divisor's growth, so
// it only shrinks when nothing else fits).
bool Conversion::allocateWork() {
    if (work_.allocate(kBlockSize, kChunkBlocks)) return true;
    for (std::size_t n = kBlockSize; n != 0; n /= 2) {
        if (work_.allocate(n, 1)) return true;
    }
    return false;
}

// The samples of the blocks firstBlock.. of one chunk.
std::size_t Conversion::chunkLength(std::size_t firstBlock, int32_t done) const {
    std::size_t blocks = std::min(work_.blocks, blockCount_ - firstBlock);
    return std::min(static_cast<std::size_t>(r_.sampleCount - done), blocks * work_.size);
}

// Shifts length samples of the work area in place, spread over the team; the
// phase of each sample depends on its index alone. Returns the largest
// magnitude (of I, and of Q for the complex shift); a NaN never wins, as in a
// running maximum that starts at 0.
double Conversion::shiftChunk(std::size_t length, int32_t first) {
    const std::size_t pieces = std::min(kShiftPieces, std::max<std::size_t>(1, length / work_.size));
    const std::size_t pieceLength = (length + pieces - 1) / pieces;
    double piecePeaks[kShiftPieces] = {};
    team_->run(pieces, [&](std::size_t piece) {
        std::size_t begin = std::min(length, piece * pieceLength);
        std::size_t count = std::min(length, begin + pieceLength) - begin;
        double* i = work_.i.get() + begin;
        double* q = work_.q.get() + begin;
        convertToIf(i, q, count, first + static_cast<int64_t>(begin), step_, s_.IFMode);
        double peak = 0.0;
        for (std::size_t k = 0; k < count; ++k) peak = std::max(peak, std::fabs(i[k]));
        if (complexShift()) {
            for (std::size_t k = 0; k < count; ++k) peak = std::max(peak, std::fabs(q[k]));
        }
        piecePeaks[piece] = peak;
    });
    double peak = 0.0;
    for (std::size_t piece = 0; piece < pieces; ++piece) peak = std::max(peak, piecePeaks[piece]);
    return peak;
}

// Keeps a shifted chunk for the write pass; when neither memory nor the
// spill file takes it, the write pass shifts the input again instead.
bool Conversion::keepShifted(std::size_t length) {
    if (!shifted_) return false;
    bool kept = shifted_->append(work_.i.get(), length) && (!complexShift() || shifted_->append(work_.q.get(), length));
    if (!kept) shifted_.reset();
    return kept;
}

bool Conversion::scanPass() {
    progress_.setStage("Converting BB to IF...");
    peak_ = 0.0;
    std::optional<InputSet> inputs = openInputs();
    if (!inputs) return false;
    int32_t done = 0;
    for (std::size_t b = 0; b < blockCount_; b += work_.blocks) {
        const std::size_t length = chunkLength(b, done);
        for (std::size_t at = 0; at < length; at += work_.size) {
            std::size_t count = std::min(length - at, work_.size);
            inputs->readBlock(std::span(work_.i.get() + at, count), std::span(work_.q.get() + at, count));
            // Once a block, as the window has always been redrawn.
            showProgress(done + static_cast<int32_t>(at + count));
        }
        peak_ = std::max(peak_, shiftChunk(length, done));
        keepShifted(length);
        done += static_cast<int32_t>(length);
    }
    return true;
}

bool Conversion::writePass() {
    const bool fromStore = shifted_ != nullptr;
    std::optional<InputSet> inputs;
    if (!fromStore) {
        inputs = openInputs();
        if (!inputs) return false;
    }
    progress_.setProgress(0.0);
    progress_.setStage("Writing data...");

    MarkerTrack marker1(r_.marker1);
    MarkerTrack marker2(r_.marker2);
    const int32_t mask1 = (s_.MarkerFlags & HALVIK_MARKER_1_LINE) ? 1 : 0;
    const int32_t mask2 = (s_.MarkerFlags & HALVIK_MARKER_2_LINE) ? 1 : 0;
    const bool inverted = s_.IQInv != 0;
    double* i = work_.i.get();
    double* q = work_.q.get();

    int32_t done = 0;
    for (std::size_t b = 0; b < blockCount_; b += work_.blocks) {
        const std::size_t length = chunkLength(b, done);
        const std::size_t blocks = (length + work_.size - 1) / work_.size;
        for (std::size_t k = 0; k < blocks; ++k) {
            const std::size_t at = k * work_.size;
            const std::size_t count = std::min(length - at, work_.size);
            marker1.fill(work_.level1.get() + at, count, done + static_cast<int64_t>(at));
            marker2.fill(work_.level2.get() + at, count, done + static_cast<int64_t>(at));
            if (!fromStore) inputs->readBlock(std::span(i + at, count), std::span(q + at, count));
            // One growth per block, in block order, as the file's divisor demands.
            peak_ = peak_ + kPeakGrowthPerBlock;
            work_.divisors[k] = peak_;
            showProgress(done + static_cast<int32_t>(at + count));
        }
        if (fromStore) {
            if (!shifted_->read(i, length)) return false;
            if (complexShift()) {
                if (!shifted_->read(q, length)) return false;
            } else {
                std::fill_n(q, length, 0.0);
            }
        } else if (converting()) {
            shiftChunk(length, done);
        }
        team_->run(blocks, [&](std::size_t k) {
            const std::size_t at = k * work_.size;
            const std::size_t count = std::min(length - at, work_.size);
            encodeBlock((inverted ? q : i) + at, (inverted ? i : q) + at, work_.level1.get() + at,
                        work_.level2.get() + at, mask1, mask2, work_.divisors[k], s_.AWGGain,
                        work_.words.get() + 2 * at, count);
        });
        output_->write(work_.words.get(), length * 2 * sizeof(uint32_t));
        done += static_cast<int32_t>(length);
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
