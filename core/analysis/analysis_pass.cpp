#include "core/analysis/analysis_pass.h"

#include <algorithm>
#include <atomic>
#include <memory>
#include <optional>
#include <thread>

#include "core/analysis/signal_statistics.h"
#include "core/analysis/welch.h"

namespace orvenda::analysis {
namespace {

// Samples per read: small enough that a cancel is seen within milliseconds.
constexpr std::size_t kChunk = 1 << 16;

struct Shared {
    const SampleSource& source;
    const AnalysisControl& control;
    std::atomic<std::uint64_t> done{0};
    std::atomic<bool> stop{false};
    std::uint64_t total = 1;
};

// One thread's share: samples [first, last) for every statistic, and after
// last up to `spectrumEnd` only to complete its final Welch segment.
struct Worker {
    std::uint64_t first = 0;
    std::uint64_t last = 0;
    std::uint64_t spectrumEnd = 0;
    bool reportsProgress = false;
    Status status;
    std::optional<SignalStatistics> statistics;
    std::unique_ptr<WelchAccumulator> welch;
    Envelope overview;

    void run(Shared& shared) {
        std::unique_ptr<SampleCursor> cursor = shared.source.openCursor();
        if (!cursor) return fail(shared, "the samples cannot be read");
        SampleBlock block;
        double reported = 0.0;
        for (std::uint64_t at = first; at < last;) {
            if (shared.stop.load(std::memory_order_relaxed)) return;
            if (shared.control.cancelled()) {
                status = {Outcome::Cancelled, {}};
                shared.stop = true;
                return;
            }
            const std::size_t length = static_cast<std::size_t>(std::min<std::uint64_t>(last - at, kChunk));
            if (!cursor->read(at, length, block)) return fail(shared, cursor->error());
            if (statistics) statistics->add(block, 0, length);
            if (welch) welch->add(block, 0, length);
            addToEnvelope(overview, at, block);
            at += length;
            const double fraction =
                static_cast<double>(shared.done.fetch_add(length) + length) / static_cast<double>(shared.total);
            if (reportsProgress && shared.control.progress && fraction - reported >= 0.005) {
                shared.control.progress(std::min(fraction, 1.0));
                reported = fraction;
            }
        }
        if (welch && spectrumEnd > last) {
            const std::size_t extra =
                static_cast<std::size_t>(std::min<std::uint64_t>(welch->missingForPending(), spectrumEnd - last));
            if (extra > 0) {
                if (!cursor->read(last, extra, block)) return fail(shared, cursor->error());
                welch->add(block, 0, extra);
            }
        }
    }

    void fail(Shared& shared, const std::string& error) {
        status = {Outcome::Failed, error.empty() ? "the samples cannot be read" : error};
        shared.stop = true;
    }
};

}  // namespace

AnalysisResult runAnalysisPass(const SampleSource& source, std::uint64_t begin, std::uint64_t end,
                               const AnalysisSettings& settings, const PassContents& contents,
                               const AnalysisControl& control) {
    AnalysisResult result;
    end = std::min(end, source.size());
    begin = std::min(begin, end);
    result.begin = begin;
    result.end = end;
    const std::size_t fftSize = settings.spectrum.fftSize;
    if (contents.spectrum && !isValidFftSize(fftSize)) {
        result.status = {Outcome::Failed, "the FFT size must be a power of two from 1024 to 65536"};
        return result;
    }
    const std::size_t bins = std::clamp<std::size_t>(settings.constellationBins, 16, 1024);
    const std::uint64_t n = end - begin;

    // Two threads only when each gets at least two whole segments; the split
    // lies on a segment start (a multiple of half a segment from begin).
    const std::uint64_t hop = fftSize / 2;
    const bool split = settings.threads >= 2 && n >= 4 * static_cast<std::uint64_t>(fftSize);
    const std::uint64_t middle = split ? begin + (n / 2) / hop * hop : end;

    Shared shared{source, control};
    shared.total = std::max<std::uint64_t>(n, 1);
    std::vector<Worker> workers(split ? 2 : 1);
    for (std::size_t t = 0; t < workers.size(); ++t) {
        Worker& w = workers[t];
        w.first = t == 0 ? begin : middle;
        w.last = t + 1 == workers.size() ? end : middle;
        w.spectrumEnd = end;
        w.reportsProgress = t == 0;
        if (contents.statistics) w.statistics.emplace(bins);
        if (contents.spectrum) w.welch = std::make_unique<WelchAccumulator>(fftSize);
        w.overview = emptyEnvelope(begin, end, settings.overviewColumns);
    }
    if (workers.size() == 2) {
        std::thread second([&] { workers[1].run(shared); });
        workers[0].run(shared);
        second.join();
    } else {
        workers[0].run(shared);
    }

    for (Worker& w : workers) {
        if (w.status.outcome == Outcome::Failed) {
            result.status = w.status;
            return result;
        }
    }
    for (Worker& w : workers) {
        if (w.status.outcome == Outcome::Cancelled) {
            result.status = w.status;
            return result;
        }
    }
    if (contents.spectrum) {
        if (workers.size() == 1) workers[0].welch->finishShort();
        std::vector<const WelchAccumulator*> parts;
        for (const Worker& w : workers) parts.push_back(w.welch.get());
        result.spectrum = welchSpectrum(parts, source.samplingFrequency(), source.isComplex());
    }
    if (contents.statistics) {
        SignalStatistics& total = *workers[0].statistics;
        for (std::size_t t = 1; t < workers.size(); ++t) total.merge(*workers[t].statistics);
        result.levels = total.levels(source.hasExactValues());
        result.ccdf = total.ccdf();
        result.constellation = total.constellation();
    }
    result.overview = std::move(workers[0].overview);
    for (std::size_t t = 1; t < workers.size(); ++t) mergeEnvelope(result.overview, workers[t].overview);
    if (control.progress) control.progress(1.0);
    return result;
}

AnalysisResult analyse(const SampleSource& source, const AnalysisSettings& settings, const AnalysisControl& control) {
    return runAnalysisPass(source, 0, source.size(), settings, PassContents{}, control);
}

AnalysisResult analyseRange(const SampleSource& source, std::uint64_t begin, std::uint64_t end,
                            const AnalysisSettings& settings, const AnalysisControl& control) {
    return runAnalysisPass(source, begin, end, settings, PassContents{}, control);
}

AnalysisResult analyseLevels(const SampleSource& source, const AnalysisControl& control) {
    return runAnalysisPass(source, 0, source.size(), AnalysisSettings{}, PassContents{true, false}, control);
}

bool isValidFftSize(std::size_t size) { return size >= kMinFftSize && size <= kMaxFftSize && (size & (size - 1)) == 0; }

Spectrum computeSpectrum(const SampleSource& source, std::uint64_t begin, std::uint64_t end,
                         const SpectrumSettings& settings, const AnalysisControl& control) {
    AnalysisSettings analysis;
    analysis.spectrum = settings;
    AnalysisResult result = runAnalysisPass(source, begin, end, analysis, PassContents{false, true}, control);
    result.spectrum.status = result.status;
    return std::move(result.spectrum);
}

}  // namespace orvenda::analysis
