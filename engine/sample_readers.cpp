#include "engine/sample_readers.h"

#include <algorithm>
#include <bit>
#include <cstring>

#include "engine/hot_loop.h"
#include "engine/text_number.h"

namespace halvik {

static_assert(std::endian::native == std::endian::little,
              "the binary layouts are little-endian and are copied as they stand");

SingleColumnTextReader::SingleColumnTextReader(std::unique_ptr<ByteSource> source, Channel channel)
    : source_(std::move(source)), lines_(*source_), channel_(channel) {}

void SingleColumnTextReader::readBlock(std::span<double> i, std::span<double> q) {
    std::span<double> values = channel_ == Channel::I ? i : q;
    std::size_t k = 0;
    std::string_view line;
    for (; k < values.size() && !ended_; ++k) {
        if (lines_.next(line)) {
            values[k] = parseSingleColumnLine(line);
        } else {
            values[k] = 0.0;
            ended_ = true;
        }
    }
    std::fill(values.begin() + static_cast<std::ptrdiff_t>(k), values.end(), 0.0);
}

TwoColumnTextReader::TwoColumnTextReader(std::unique_ptr<ByteSource> source)
    : source_(std::move(source)), lines_(*source_) {}

void TwoColumnTextReader::readBlock(std::span<double> i, std::span<double> q) {
    std::string_view line;
    for (std::size_t k = 0; k < i.size(); ++k) {
        SamplePair pair{0.0, 0.0};
        if (lines_.next(line)) pair = parseTwoColumnLine(line);
        i[k] = pair.i;
        q[k] = pair.q;
    }
}

namespace {

double toDouble(int16_t item) { return item; }

// Non-finite floats count as 0.0: the bits are masked, without a branch, so
// the loop vectorises.
double toDouble(float item) {
    uint32_t bits = std::bit_cast<uint32_t>(item);
    uint32_t keep = 0u - static_cast<uint32_t>((bits & 0x7f800000u) != 0x7f800000u);
    return static_cast<double>(std::bit_cast<float>(bits & keep));
}

// The hot loop of binary input, built for several instruction sets and
// chosen when the library loads.
template <typename Item>
HALVIK_HOT_LOOP void pairsToDoubles(const std::byte* raw, double* i, double* q, std::size_t count) {
    for (std::size_t k = 0; k < count; ++k) {
        Item a, b;
        std::memcpy(&a, raw + 2 * sizeof(Item) * k, sizeof(Item));
        std::memcpy(&b, raw + 2 * sizeof(Item) * k + sizeof(Item), sizeof(Item));
        i[k] = toDouble(a);
        q[k] = toDouble(b);
    }
}

}  // namespace

template <typename Item>
BinaryPairReader<Item>::BinaryPairReader(std::unique_ptr<ByteSource> source) : source_(std::move(source)) {}

template <typename Item>
void BinaryPairReader<Item>::readBlock(std::span<double> i, std::span<double> q) {
    constexpr std::size_t kPair = 2 * sizeof(Item);
    std::size_t done = 0;
    while (done < i.size()) {
        std::size_t wanted = std::min(i.size() - done, ByteSource::kMaxView / kPair);
        std::span<const std::byte> bytes = source_->view(wanted * kPair);
        std::size_t samples = bytes.size() / kPair;  // a final I without its Q is dropped
        pairsToDoubles<Item>(bytes.data(), i.data() + done, q.data() + done, samples);
        done += samples;
        if (samples < wanted) break;
    }
    std::fill(i.begin() + static_cast<std::ptrdiff_t>(done), i.end(), 0.0);
    std::fill(q.begin() + static_cast<std::ptrdiff_t>(done), q.end(), 0.0);
}

template class BinaryPairReader<int16_t>;
template class BinaryPairReader<float>;

std::optional<InputSet> InputSet::open(const std::string& iPath, const std::string& qPath, int32_t dataType,
                                       int32_t fileKind, const SourceOpener& opener) {
    InputSet set;
    if (fileKind == HALVIK_KIND_IQ_FILE) {
        if (dataType != HALVIK_TYPE_TEXT && dataType != HALVIK_TYPE_INT16_PAIRS && dataType != HALVIK_TYPE_FLOAT_PAIRS)
            return std::nullopt;
        auto source = opener(iPath);
        if (!source) return std::nullopt;
        if (dataType == HALVIK_TYPE_TEXT) {
            set.readers_.push_back(std::make_unique<TwoColumnTextReader>(std::move(source)));
        } else if (dataType == HALVIK_TYPE_INT16_PAIRS) {
            set.readers_.push_back(std::make_unique<Int16PairReader>(std::move(source)));
        } else {
            set.readers_.push_back(std::make_unique<FloatPairReader>(std::move(source)));
        }
        set.readsI_ = set.readsQ_ = true;
        return set;
    }
    if (fileKind & HALVIK_KIND_I_FILE) {
        auto source = opener(iPath);
        if (!source) return std::nullopt;
        set.readers_.push_back(std::make_unique<SingleColumnTextReader>(std::move(source), Channel::I));
        set.readsI_ = true;
    }
    if (fileKind & HALVIK_KIND_Q_FILE) {
        auto source = opener(qPath);
        if (!source) return std::nullopt;
        set.readers_.push_back(std::make_unique<SingleColumnTextReader>(std::move(source), Channel::Q));
        set.readsQ_ = true;
    }
    return set;
}

std::optional<std::vector<std::uint64_t>> InputSet::nextLineOffsets() const {
    std::vector<std::uint64_t> offsets;
    for (const auto& reader : readers_) {
        std::optional<std::uint64_t> offset = reader->nextLineOffset();
        if (!offset) return std::nullopt;
        offsets.push_back(*offset);
    }
    return offsets;
}

void InputSet::readBlock(std::span<double> i, std::span<double> q) {
    if (!readsI_) std::fill(i.begin(), i.end(), 0.0);
    if (!readsQ_) std::fill(q.begin(), q.end(), 0.0);
    for (auto& reader : readers_) reader->readBlock(i, q);
}

}  // namespace halvik
