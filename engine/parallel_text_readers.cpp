#include "engine/parallel_text_readers.h"

#include <algorithm>

namespace halvik {
namespace {

// Pieces per thread: a thread that finishes early takes another.
constexpr std::size_t kPiecesPerThread = 4;

}  // namespace

template <typename Value>
ParsedLines<Value>::ParsedLines(std::unique_ptr<ByteSource> source, WorkerTeam& team, Parse parse)
    : source_(std::move(source)), batches_(*source_), team_(team), parse_(parse) {}

template <typename Value>
bool ParsedLines<Value>::parseNextBatch() {
    std::string_view batch;
    if (!batches_.next(batch)) return false;
    std::vector<std::string_view> parts = splitAtLines(batch, team_.size() * kPiecesPerThread);
    pieces_.resize(parts.size());
    team_.run(parts.size(), [&](std::size_t part) {
        std::vector<Value>& values = pieces_[part];
        values.clear();
        forEachLine(parts[part], [&](std::string_view line) { values.push_back(parse_(line)); });
    });
    piece_ = 0;
    at_ = 0;
    return true;
}

template <typename Value>
std::span<const Value> ParsedLines<Value>::nextRun(std::size_t most) {
    for (;;) {
        if (piece_ < pieces_.size() && at_ < pieces_[piece_].size()) {
            const std::vector<Value>& values = pieces_[piece_];
            const std::size_t count = std::min(most, values.size() - at_);
            std::span<const Value> run(values.data() + at_, count);
            at_ += count;
            return run;
        }
        if (piece_ < pieces_.size()) {
            ++piece_;
            at_ = 0;
            continue;
        }
        if (!parseNextBatch()) return {};
    }
}

template class ParsedLines<double>;
template class ParsedLines<SamplePair>;

ParallelSingleColumnTextReader::ParallelSingleColumnTextReader(std::unique_ptr<ByteSource> source, Channel channel,
                                                               WorkerTeam& team)
    : lines_(std::move(source), team, parseSingleColumnLine), channel_(channel) {}

void ParallelSingleColumnTextReader::readBlock(std::span<double> i, std::span<double> q) {
    std::span<double> values = channel_ == Channel::I ? i : q;
    std::size_t k = 0;
    while (k < values.size() && !ended_) {
        std::span<const double> run = lines_.nextRun(values.size() - k);
        if (run.empty()) {
            ended_ = true;
            break;
        }
        std::copy(run.begin(), run.end(), values.begin() + static_cast<std::ptrdiff_t>(k));
        k += run.size();
    }
    std::fill(values.begin() + static_cast<std::ptrdiff_t>(k), values.end(), 0.0);
}

ParallelTwoColumnTextReader::ParallelTwoColumnTextReader(std::unique_ptr<ByteSource> source, WorkerTeam& team)
    : lines_(std::move(source), team, parseTwoColumnLine) {}

void ParallelTwoColumnTextReader::readBlock(std::span<double> i, std::span<double> q) {
    std::size_t k = 0;
    while (k < i.size()) {
        std::span<const SamplePair> run = lines_.nextRun(i.size() - k);
        if (run.empty()) break;
        for (const SamplePair& pair : run) {
            i[k] = pair.i;
            q[k] = pair.q;
            ++k;
        }
    }
    std::fill(i.begin() + static_cast<std::ptrdiff_t>(k), i.end(), 0.0);
    std::fill(q.begin() + static_cast<std::ptrdiff_t>(k), q.end(), 0.0);
}

}  // namespace halvik
