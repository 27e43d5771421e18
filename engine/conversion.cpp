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
#include "engine/chunk_input.h"
#include "engine/halvik_header.h"
#include "engine/if_conversion.h"
#include "engine/marker_track.h"
#include "engine/output_file.h"
#include "engine/progress_window.h"
#include "engine/sample_codes.h"
#include "engine/sample_readers.h"
#include "engine/thread_count.h"
#include "engine/worker_team.h"

namespace halvik {
namespace {

constexpr std::size_t kBlockSize = 1024;
// Blocks are read, shifted and encoded a chunk at a time, so that the threads
// share out work large enough to outweigh their hand-over.
constexpr std::size_t kChunkBlocks = 128;
// A lone thread hands nothing over: a chunk that stays in the cache is faster.
constexpr std::size_t kLoneChunkBlocks = 8;
// The divisor grows by this much with every written block.
constexpr double kPeakGrowthPerBlock = 1e-12;

// The per-chunk work area: I and Q values, marker levels and sample words of
// `blocks` blocks of `size` samples, and each block's divisor and largest
// shifted magnitude.
struct WorkArea {
    std::size_t size = 0;
    std::size_t blocks = 0;
    std::unique_ptr<double[]> i;
    std::unique_ptr<double[]> q;
    std::unique_ptr<int32_t[]> level1;
    std::unique_ptr<int32_t[]> level2;
    std::unique_ptr<uint32_t[]> words;
    std::unique_ptr<double[]> divisors;
    std::unique_ptr<double[]> peaks;
    std::size_t slot = 0;  // of the gathered input

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
        peaks.reset(new (std::nothrow) double[blockCount]());
        return i && q && level1 && level2 && words && divisors && peaks;
    }
};

// The samples of one chunk of blocks.
struct Chunk {
    std::size_t firstBlock = 0;
    int32_t done = 0;  // samples before it
    std::size_t length = 0;
    std::size_t blocks = 0;
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
    std::unique_ptr<ChunkInput> openInputs() {
        return ChunkInput::open(r_.iPath, r_.qPath, r_.inputDataType, r_.inputFileKind, opener_, 2,
                                areas_[0].size * areas_[0].blocks, referenceEngine());
    }
    bool converting() const { return s_.IFConvert == 1; }
    bool referenceEngine() const { return r_.reference || benchReferenceRequested(); }
    bool complexShift() const { return s_.IFMode != 0; }
    bool allocateWork(std::size_t chunkBlocks);
    Chunk chunkAt(std::size_t index) const;
    bool overlapReading();
    template <typename Prepare, typename Process, typename AfterRound, typename Finish>
    void runPass(bool overlap, Prepare prepare, Process process, AfterRound afterRound, Finish finish);
    static ChunkShape shapeOf(const WorkArea& area, const Chunk& chunk) { return {area.size, chunk.length}; }
    struct Block {
        std::size_t at;     // in the work area
        std::size_t count;  // samples
        int64_t first;      // the first sample's index in the waveform
        double* i;
        double* q;
    };
    static void gather(ChunkInput& inputs, WorkArea& area, const Chunk& chunk) {
        inputs.gather(area.slot, shapeOf(area, chunk), area.i.get(), area.q.get());
    }
    static Block decode(ChunkInput& inputs, WorkArea& area, const Chunk& chunk, std::size_t block);
    void reportRead(const Chunk& chunk);
    bool scanPass();
    std::optional<double> scanInParts(bool shiftAll);
    bool writePass();
    void showProgress(int32_t done) { progress_.setProgress(done * 100.0 / r_.sampleCount); }

    const ConversionRequest& r_;
    const ConversionSettings& s_;
    const SourceOpener& opener_;
    ProgressWindow progress_;
    std::unique_ptr<OutputFile> output_;
    std::unique_ptr<WorkerTeam> team_;
    WorkArea areas_[2];  // the second only while reading overlaps the work
    std::size_t blockCount_ = 0;
    std::size_t chunkCount_ = 0;
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

    // Binary baseband asks so little of each sample that handing chunks
    // between threads costs more than it saves.
    const bool lightWork =
        !converting() && r_.inputFileKind == HALVIK_KIND_IQ_FILE && r_.inputDataType != HALVIK_TYPE_TEXT;
    team_ = std::make_unique<WorkerTeam>(lightWork ? 1 : conversionThreads(r_.threads));
    if (!allocateWork(team_->size() > 1 ? kChunkBlocks : kLoneChunkBlocks)) return kFailure;
    const std::size_t blockSize = areas_[0].size;
    blockCount_ =
        static_cast<std::size_t>(std::ceil(static_cast<double>(r_.sampleCount) / static_cast<double>(blockSize)));
    chunkCount_ = (blockCount_ + areas_[0].blocks - 1) / areas_[0].blocks;

    if (converting() && !scanPass()) return kFailure;
    if (!writePass()) return kFailure;
    team_.reset();

    progress_.setProgress(100.0);
    output_->write(std::string_view(&kWaveDataClosing, 1));
    bool written = output_->commit();
    progress_.close();
    return written ? kSuccess : kFailure;
}

// Blocks of 1024 samples, a chunk of them at once; with little memory one
// block, then smaller blocks (the block size shapes the divisor's growth, so
// it only shrinks when nothing else fits).
bool Conversion::allocateWork(std::size_t chunkBlocks) {
    if (areas_[0].allocate(kBlockSize, chunkBlocks)) return true;
    for (std::size_t n = kBlockSize; n != 0; n /= 2) {
        if (areas_[0].allocate(n, 1)) return true;
    }
    return false;
}

Chunk Conversion::chunkAt(std::size_t index) const {
    const WorkArea& area = areas_[0];
    Chunk chunk;
    chunk.firstBlock = index * area.blocks;
    chunk.done = static_cast<int32_t>(chunk.firstBlock * area.size);
    const std::size_t blocks = std::min(area.blocks, blockCount_ - chunk.firstBlock);
    chunk.length = std::min(static_cast<std::size_t>(r_.sampleCount - chunk.done), blocks * area.size);
    chunk.blocks = (chunk.length + area.size - 1) / area.size;
    return chunk;
}

// One thread gathers the next chunk while the others work on the current
// one, unless there is no second thread or area.
bool Conversion::overlapReading() {
    if (team_->size() < 2 || chunkCount_ < 2) return false;
    if (areas_[1].i) return true;
    if (areas_[1].allocate(areas_[0].size, areas_[0].blocks)) {
        areas_[1].slot = 1;
        return true;
    }
    areas_[1] = WorkArea{};
    return false;
}

// A pass over all chunks. prepare and finish run one chunk at a time in chunk
// order; process(area, chunk, block) runs the blocks of a chunk on the whole
// team, and afterRound(area, chunk) follows on the calling thread. With
// overlap, the next chunk's prepare and the previous chunk's finish run as one
// more piece beside the current chunk's blocks, in the other work area.
template <typename Prepare, typename Process, typename AfterRound, typename Finish>
void Conversion::runPass(bool overlap, Prepare prepare, Process process, AfterRound afterRound, Finish finish) {
    if (chunkCount_ == 0) return;
    if (!overlap) {
        WorkArea& area = areas_[0];
        for (std::size_t c = 0; c < chunkCount_; ++c) {
            const Chunk chunk = chunkAt(c);
            prepare(area, chunk);
            team_->run(chunk.blocks, [&](std::size_t block) { process(area, chunk, block); });
            afterRound(area, chunk);
            finish(area, chunk);
        }
        return;
    }
    prepare(areas_[0], chunkAt(0));
    for (std::size_t c = 0; c < chunkCount_; ++c) {
        WorkArea& current = areas_[c % 2];
        WorkArea& other = areas_[(c + 1) % 2];
        const Chunk chunk = chunkAt(c);
        const bool hasNext = c + 1 < chunkCount_;
        team_->run(chunk.blocks + 1, [&](std::size_t piece) {
            if (piece == 0) {
                if (c > 0) finish(other, chunkAt(c - 1));
                if (hasNext) prepare(other, chunkAt(c + 1));
            } else {
                process(current, chunk, piece - 1);
            }
        });
        afterRound(current, chunk);
    }
    finish(areas_[(chunkCount_ - 1) % 2], chunkAt(chunkCount_ - 1));
}

// Turns a gathered block into I and Q values, on any thread.
Conversion::Block Conversion::decode(ChunkInput& inputs, WorkArea& area, const Chunk& chunk, std::size_t block) {
    inputs.decode(area.slot, shapeOf(area, chunk), block, area.i.get(), area.q.get());
    const std::size_t at = block * area.size;
    return {at, std::min(chunk.length - at, area.size), chunk.done + static_cast<int64_t>(at), area.i.get() + at,
            area.q.get() + at};
}

// Once a block, as the window has always been redrawn; always from the
// calling thread, which owns the window.
void Conversion::reportRead(const Chunk& chunk) {
    const std::size_t size = areas_[0].size;
    for (std::size_t at = 0; at < chunk.length; at += size) {
        showProgress(chunk.done + static_cast<int32_t>(std::min(chunk.length, at + size)));
    }
}

// Finds the largest shifted magnitude (of I, and of Q for the complex shift),
// which the write pass divides by. The benchmark's reference shifts every
// sample here, as the engine did before it skipped the samples that cannot win.
bool Conversion::scanPass() {
    progress_.setStage("Converting BB to IF...");
    peak_ = 0.0;
    const bool shiftAll = referenceEngine();
    if (std::optional<double> peak = scanInParts(shiftAll)) {
        peak_ = *peak;
        return true;
    }
    std::unique_ptr<ChunkInput> inputs = openInputs();
    if (!inputs) return false;
    runPass(
        overlapReading(), [&](WorkArea& area, const Chunk& chunk) { gather(*inputs, area, chunk); },
        [&](WorkArea& area, const Chunk& chunk, std::size_t block) {
            const auto [at, count, first, i, q] = decode(*inputs, area, chunk, block);
            if (!shiftAll) {
                area.peaks[block] = shiftedPeak(i, q, count, first, step_, s_.IFMode, peak_);
                return;
            }
            convertToIf(i, q, count, first, step_, s_.IFMode);
            double peak = 0.0;
            for (std::size_t k = 0; k < count; ++k) peak = std::max(peak, std::fabs(i[k]));
            if (complexShift()) {
                for (std::size_t k = 0; k < count; ++k) peak = std::max(peak, std::fabs(q[k]));
            }
            area.peaks[block] = peak;
        },
        [&](WorkArea& area, const Chunk& chunk) {
            for (std::size_t block = 0; block < chunk.blocks; ++block) peak_ = std::max(peak_, area.peaks[block]);
            reportRead(chunk);
        },
        [](WorkArea&, const Chunk&) {});
    return true;
}

// Binary samples lie at fixed offsets: each thread scans a part of the
// samples from sources of its own, reading included, a chunk per round so
// the window shows progress. The largest magnitude does not depend on the
// order. nullopt when the inputs are text, there is one thread, or a source
// cannot be positioned.
std::optional<double> Conversion::scanInParts(bool shiftAll) {
    if (r_.inputFileKind != HALVIK_KIND_IQ_FILE || r_.inputDataType == HALVIK_TYPE_TEXT) return std::nullopt;
    const std::size_t parts = std::min<std::size_t>(team_->size(), blockCount_);
    if (parts < 2) return std::nullopt;
    const std::uint64_t pairBytes = r_.inputDataType == HALVIK_TYPE_INT16_PAIRS ? 4 : 8;
    const std::size_t blockSize = areas_[0].size;
    struct Part {
        std::optional<InputSet> inputs;
        std::size_t block = 0, endBlock = 0;  // the next block to scan, and the end
        double peak = 0.0;
        std::vector<double> i, q;
    };
    std::vector<Part> scans(parts);
    for (std::size_t p = 0; p < parts; ++p) {
        Part& part = scans[p];
        part.block = blockCount_ * p / parts;
        part.endBlock = blockCount_ * (p + 1) / parts;
        const std::uint64_t offset = part.block * blockSize * pairBytes;
        bool positioned = true;
        SourceOpener at = [&](const std::string& path) -> std::unique_ptr<ByteSource> {
            std::unique_ptr<ByteSource> source = opener_(path);
            positioned = source && source->seek(offset);
            return positioned ? std::move(source) : nullptr;
        };
        part.inputs = InputSet::open(r_.iPath, r_.qPath, r_.inputDataType, r_.inputFileKind, at);
        if (!part.inputs) return std::nullopt;
        part.i.resize(blockSize);
        part.q.resize(blockSize);
    }
    const std::size_t roundBlocks = areas_[0].blocks;
    int64_t done = 0;
    for (bool more = true; more;) {
        std::size_t roundSamples[kMaxThreads] = {};
        team_->run(parts, [&](std::size_t p) {
            Part& part = scans[p];
            for (std::size_t k = 0; k < roundBlocks && part.block < part.endBlock; ++k, ++part.block) {
                const int64_t first = static_cast<int64_t>(part.block * blockSize);
                const std::size_t count = std::min<std::size_t>(blockSize, r_.sampleCount - first);
                double* i = part.i.data();
                double* q = part.q.data();
                part.inputs->readBlock(std::span(i, count), std::span(q, count));
                roundSamples[p] += count;
                if (!shiftAll) {
                    part.peak = shiftedPeak(i, q, count, first, step_, s_.IFMode, part.peak);
                    continue;
                }
                convertToIf(i, q, count, first, step_, s_.IFMode);
                for (std::size_t n = 0; n < count; ++n) part.peak = std::max(part.peak, std::fabs(i[n]));
                if (complexShift()) {
                    for (std::size_t n = 0; n < count; ++n) part.peak = std::max(part.peak, std::fabs(q[n]));
                }
            }
        });
        more = false;
        for (std::size_t p = 0; p < parts; ++p) {
            done += static_cast<int64_t>(roundSamples[p]);
            more = more || scans[p].block < scans[p].endBlock;
        }
        showProgress(static_cast<int32_t>(done));
    }
    double peak = 0.0;
    for (const Part& part : scans) peak = std::max(peak, part.peak);
    return peak;
}

bool Conversion::writePass() {
    std::unique_ptr<ChunkInput> inputs = openInputs();
    if (!inputs) return false;
    progress_.setProgress(0.0);
    progress_.setStage("Writing data...");

    MarkerTrack marker1(r_.marker1);
    MarkerTrack marker2(r_.marker2);
    const int32_t mask1 = (s_.MarkerFlags & HALVIK_MARKER_1_LINE) ? 1 : 0;
    const int32_t mask2 = (s_.MarkerFlags & HALVIK_MARKER_2_LINE) ? 1 : 0;
    const bool inverted = s_.IQInv != 0;
    const bool shift = converting();

    runPass(
        overlapReading(),
        [&](WorkArea& area, const Chunk& chunk) {
            gather(*inputs, area, chunk);
            for (std::size_t k = 0; k < chunk.blocks; ++k) {
                const std::size_t at = k * area.size;
                const std::size_t count = std::min(chunk.length - at, area.size);
                marker1.fill(area.level1.get() + at, count, chunk.done + static_cast<int64_t>(at));
                marker2.fill(area.level2.get() + at, count, chunk.done + static_cast<int64_t>(at));
                // One growth per block, in block order, as the file's divisor demands.
                peak_ = peak_ + kPeakGrowthPerBlock;
                area.divisors[k] = peak_;
            }
        },
        [&](WorkArea& area, const Chunk& chunk, std::size_t block) {
            const auto [at, count, first, i, q] = decode(*inputs, area, chunk, block);
            if (shift) convertToIf(i, q, count, first, step_, s_.IFMode);
            encodeBlock(inverted ? q : i, inverted ? i : q, area.level1.get() + at, area.level2.get() + at, mask1,
                        mask2, area.divisors[block], s_.AWGGain, area.words.get() + 2 * at, count);
        },
        [&](WorkArea&, const Chunk& chunk) { reportRead(chunk); },
        [&](WorkArea& area, const Chunk& chunk) {
            output_->write(area.words.get(), chunk.length * 2 * sizeof(uint32_t));
        });
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
