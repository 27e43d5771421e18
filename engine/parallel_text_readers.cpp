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
bool ParsedLines<Value>::next(Value& value) {
    for (;;) {
        if (piece_ < pieces_.size() && at_ < pieces_[piece_].size()) {
            value = pieces_[piece_][at_++];
            return true;
        }
        if (piece_ < pieces_.size()) {
            ++piece_;
            at_ = 0;
            continue;
        }
        if (!parseNextBatch()) return false;
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
    for (; k < values.size() && !ended_; ++k) {
        if (!lines_.next(values[k])) {
            values[k] = 0.0;
            ended_ = true;
        }
    }
    std::fill(values.begin() + static_cast<std::ptrdiff_t>(k), values.end(), 0.0);
}

ParallelTwoColumnTextReader::ParallelTwoColumnTextReader(std::unique_ptr<ByteSource> source, WorkerTeam& team)
    : lines_(std::move(source), team, parseTwoColumnLine) {}

void ParallelTwoColumnTextReader::readBlock(std::span<double> i, std::span<double> q) {
    for (std::size_t k = 0; k < i.size(); ++k) {
        SamplePair pair{0.0, 0.0};
        if (!lines_.next(pair)) pair = SamplePair{0.0, 0.0};
        i[k] = pair.i;
        q[k] = pair.q;
    }
}

}  // namespace halvik
