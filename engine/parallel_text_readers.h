// The text layouts parsed on several threads: each batch of whole lines is
// cut into pieces, every thread parses pieces into values of their own, and
// the values are handed out in line order, so the samples are exactly those
// of the single-threaded readers.
#ifndef ORVENDA_ENGINE_PARALLEL_TEXT_READERS_H
#define ORVENDA_ENGINE_PARALLEL_TEXT_READERS_H

#include <cstddef>
#include <memory>
#include <span>
#include <vector>

#include "engine/line_batches.h"
#include "engine/sample_readers.h"
#include "engine/text_number.h"
#include "engine/worker_team.h"

namespace halvik {

// Values of the lines of a source, parsed a batch at a time over a team.
template <typename Value>
class ParsedLines {
public:
    using Parse = Value (*)(std::string_view);

    ParsedLines(std::unique_ptr<ByteSource> source, WorkerTeam& team, Parse parse);
    // The values of the next lines, at most `most` of them, in line order;
    // empty when no line is left.
    std::span<const Value> nextRun(std::size_t most);

private:
    bool parseNextBatch();

    std::unique_ptr<ByteSource> source_;
    LineBatches batches_;
    WorkerTeam& team_;
    Parse parse_;
    std::vector<std::vector<Value>> pieces_;
    std::size_t piece_ = 0;
    std::size_t at_ = 0;
};

class ParallelSingleColumnTextReader final : public SampleReader {
public:
    ParallelSingleColumnTextReader(std::unique_ptr<ByteSource> source, Channel channel, WorkerTeam& team);
    void readBlock(std::span<double> i, std::span<double> q) override;

private:
    ParsedLines<double> lines_;
    Channel channel_;
    bool ended_ = false;
};

class ParallelTwoColumnTextReader final : public SampleReader {
public:
    ParallelTwoColumnTextReader(std::unique_ptr<ByteSource> source, WorkerTeam& team);
    void readBlock(std::span<double> i, std::span<double> q) override;

private:
    ParsedLines<SamplePair> lines_;
};

}  // namespace halvik

#endif
