// The codes a conversion writes, delivered to memory instead of a file: the
// same input readers, IF shift, divisor growth, marker walk and code step as
// the write pass, for any range of samples. The program's views and the
// command line's level report analyse exactly what a transform would write.
#ifndef ORVENDA_ENGINE_CODE_READER_H
#define ORVENDA_ENGINE_CODE_READER_H

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/conversion.h"
#include "engine/marker_track.h"
#include "engine/sample_readers.h"
#include "engine/text_checkpoints.h"

namespace halvik {

// The write pass works in blocks of this many samples and lets the divisor
// grow by kWritePeakGrowth before each block (conversion.cpp; the code reader
// tests compare with written files so the two cannot drift apart).
inline constexpr std::size_t kWriteBlockSamples = 1024;
inline constexpr double kWritePeakGrowth = 1e-12;

// Opens the input at a byte offset; nullptr when it cannot be opened there.
using OffsetSourceOpener = std::function<std::unique_ptr<ByteSource>(const std::string& path, std::uint64_t offset)>;
std::unique_ptr<ByteSource> openFileSourceAt(const std::string& path, std::uint64_t offset);

struct StartingPeak {
    bool opened = true;    // false: an input could not be opened
    bool stopped = false;  // keepGoing said stop
    double peak = 1.0;
};

// The divisor before the first block: for an IF conversion the scan pass's
// peak (a whole read; keepGoing(samplesDone) is asked every block and may
// stop it), otherwise the request's peak value (0 or NaN count as 1).
StartingPeak startingPeak(const ConversionRequest& request, const SourceOpener& opener,
                          const std::function<bool(std::int64_t)>& keepGoing = {});

// The divisor of write block `block` (block + 1 growths after `start`),
// added up one growth at a time as the write pass does.
double blockPeak(double start, std::size_t block);

class CodeReader {
public:
    // The request (and the settings and markers it points to) must outlive
    // the reader. nullptr when the inputs cannot be opened. Readers of one
    // request may share their checkpoints in text inputs; without a shared
    // set the reader keeps its own.
    static std::unique_ptr<CodeReader> open(const ConversionRequest& request, double startingPeak,
                                            const OffsetSourceOpener& opener = openFileSourceAt,
                                            std::shared_ptr<TextCheckpoints> checkpoints = nullptr);

    // Sample words of [first, first + count) as the write pass stores them
    // (2 * count words, A then B per sample), first + count within the
    // request's sample count. exactA and exactB, when not null, receive the
    // scaled values of words A and B before truncation. False when an input
    // cannot be reopened.
    bool read(std::int64_t first, std::size_t count, std::uint32_t* words, double* exactA, double* exactB);

private:
    CodeReader(const ConversionRequest& request, double startingPeak, const OffsetSourceOpener& opener,
               std::shared_ptr<TextCheckpoints> checkpoints);
    bool seekInputs(std::int64_t first);
    bool reopenText(const std::optional<TextCheckpoints::Point>& from);
    void noteCheckpoint();
    void seekMarkers(std::int64_t first);
    double peakOfBlock(std::size_t block);

    ConversionRequest request_;
    ConversionSettings settings_;
    OffsetSourceOpener opener_;
    double startingPeak_;
    double step_;
    bool seekable_;
    std::optional<InputSet> inputs_;
    std::int64_t inputPosition_ = 0;
    std::shared_ptr<TextCheckpoints> checkpoints_;
    std::vector<std::uint64_t> openedAt_;  // the byte offset each text input was opened at
    MarkerTrack marker1_;
    MarkerTrack marker2_;
    std::int64_t markerPosition_ = 0;
    std::size_t cachedBlock_ = 0;
    double cachedPeak_;
    std::vector<double> i_, q_;
    std::vector<std::int32_t> level1_, level2_;
};

}  // namespace halvik

#endif
