// The engine's readers of the four input layouts, fed from memory through
// InputSet and through the conversion's chunked input. The first bytes
// choose the layout and the block sizes; the rest is the file. Every block is
// compared with a slow reading of the same bytes.
#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <fuzzer/FuzzedDataProvider.h>

#include "engine/chunk_input.h"
#include "engine/sample_readers.h"
#include "engine/text_number.h"
#include "fuzz/fuzz_check.h"

using namespace orvenda::fuzz;

namespace {

struct Samples {
    std::vector<double> i;
    std::vector<double> q;
};

std::vector<std::string> splitLines(const std::string& bytes) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        std::size_t feed = bytes.find('\n', start);
        if (feed == std::string::npos) feed = bytes.size();
        lines.push_back(bytes.substr(start, feed - start));
        start = feed + 1;
    }
    return lines;
}

// The part of a very long line that the engine keeps.
std::string_view kept(const std::string& line) {
    return std::string_view(line).substr(0, halvik::LineReader::kMaxKeptLength);
}

// One value per line; after the last line 0.0.
std::vector<double> referenceSingleColumn(const std::string& bytes, std::size_t count) {
    std::vector<double> values(count, 0.0);
    std::vector<std::string> lines = splitLines(bytes);
    for (std::size_t k = 0; k < count && k < lines.size(); ++k)
        values[k] = halvik::parseSingleColumnLine(kept(lines[k]));
    return values;
}

Samples referenceTwoColumns(const std::string& bytes, std::size_t count) {
    Samples s{std::vector<double>(count, 0.0), std::vector<double>(count, 0.0)};
    std::vector<std::string> lines = splitLines(bytes);
    for (std::size_t k = 0; k < count && k < lines.size(); ++k) {
        halvik::SamplePair pair = halvik::parseTwoColumnLine(kept(lines[k]));
        s.i[k] = pair.i;
        s.q[k] = pair.q;
    }
    return s;
}

template <typename Item>
double itemValue(const std::string& bytes, std::size_t offset) {
    uint8_t raw[sizeof(Item)];
    std::memcpy(raw, bytes.data() + offset, sizeof(Item));
    if constexpr (sizeof(Item) == 2) {
        return static_cast<int16_t>(static_cast<uint16_t>(raw[0] | (raw[1] << 8)));
    } else {
        uint32_t bits = raw[0] | (raw[1] << 8) | (raw[2] << 16) | (uint32_t{raw[3]} << 24);
        float value = std::bit_cast<float>(bits);
        return std::isfinite(value) ? value : 0.0;  // the engine takes no NaN or infinity
    }
}

// Whole pairs in order; a final I without its Q, and everything after, 0.0.
template <typename Item>
Samples referencePairs(const std::string& bytes, std::size_t count) {
    Samples s{std::vector<double>(count, 0.0), std::vector<double>(count, 0.0)};
    const std::size_t pairs = bytes.size() / (2 * sizeof(Item));
    for (std::size_t k = 0; k < count && k < pairs; ++k) {
        s.i[k] = itemValue<Item>(bytes, 2 * sizeof(Item) * k);
        s.q[k] = itemValue<Item>(bytes, 2 * sizeof(Item) * k + sizeof(Item));
    }
    return s;
}

void expectSame(const std::vector<double>& got, const std::vector<double>& expected, std::size_t from,
                std::size_t count, const char* what) {
    for (std::size_t k = 0; k < count; ++k) {
        const double g = got[k];
        const double e = expected[from + k];
        FUZZ_CHECK(std::isfinite(g), "%s sample %zu is %g", what, from + k, g);
        FUZZ_CHECK(g == e || (std::isnan(g) && std::isnan(e)), "%s sample %zu: read %.17g, expected %.17g", what,
                   from + k, g, e);
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    FuzzedDataProvider provider(data, size);
    const int layout = provider.ConsumeIntegralInRange<int>(0, 4);
    // Block lengths the engine might use, from 1 sample up to beyond one view
    // of a byte source (8192 float pairs).
    std::vector<std::size_t> blocks;
    for (int b = provider.ConsumeIntegralInRange<int>(1, 4); b > 0; --b)
        blocks.push_back(provider.ConsumeIntegralInRange<std::size_t>(1, 9000));
    const std::size_t blockSize = provider.ConsumeIntegralInRange<std::size_t>(1, 1100);
    const std::size_t bytesPerSample = provider.ConsumeIntegralInRange<std::size_t>(0, 40);
    std::string iBytes;
    std::string qBytes;
    if (layout == 1) {  // I and Q in two single-column files
        iBytes = provider.ConsumeRandomLengthString(size);
    }
    std::string rest = provider.ConsumeRemainingBytesAsString();
    (layout == 1 ? qBytes : iBytes) = rest;

    // Each source reads its own exact-size copy, so reads past its end are caught.
    const std::vector<std::byte> iCopy(reinterpret_cast<const std::byte*>(iBytes.data()),
                                       reinterpret_cast<const std::byte*>(iBytes.data() + iBytes.size()));
    const std::vector<std::byte> qCopy(reinterpret_cast<const std::byte*>(qBytes.data()),
                                       reinterpret_cast<const std::byte*>(qBytes.data() + qBytes.size()));
    auto opener = [&](const std::string& path) -> std::unique_ptr<halvik::ByteSource> {
        return std::make_unique<halvik::MemoryByteSource>(path == "I" ? iCopy : qCopy);
    };

    int32_t type = 0;
    int32_t kind = 0;
    switch (layout) {
    case 0: kind = HALVIK_KIND_I_FILE; break;
    case 1: kind = HALVIK_KIND_I_FILE | HALVIK_KIND_Q_FILE; break;
    case 2:
        kind = HALVIK_KIND_IQ_FILE;
        type = HALVIK_TYPE_TEXT;
        break;
    case 3:
        kind = HALVIK_KIND_IQ_FILE;
        type = HALVIK_TYPE_INT16_PAIRS;
        break;
    default:
        kind = HALVIK_KIND_IQ_FILE;
        type = HALVIK_TYPE_FLOAT_PAIRS;
        break;
    }
    std::size_t total = 0;
    for (std::size_t b : blocks) total += b;
    Samples expected;
    switch (layout) {
    case 0: expected = {referenceSingleColumn(iBytes, total), std::vector<double>(total, 0.0)}; break;
    case 1: expected = {referenceSingleColumn(iBytes, total), referenceSingleColumn(qBytes, total)}; break;
    case 2: expected = referenceTwoColumns(iBytes, total); break;
    case 3: expected = referencePairs<int16_t>(iBytes, total); break;
    default: expected = referencePairs<float>(iBytes, total); break;
    }

    {
        std::optional<halvik::InputSet> inputs = halvik::InputSet::open("I", "Q", type, kind, opener);
        FUZZ_CHECK(inputs.has_value(), "memory inputs of layout %d did not open", layout);
        std::size_t done = 0;
        for (std::size_t length : blocks) {
            // Stale values in the arrays must all be overwritten.
            std::vector<double> i(length, 12345.5);
            std::vector<double> q(length, -6789.25);
            inputs->readBlock(i, q);
            expectSame(i, expected.i, done, length, "I");
            expectSame(q, expected.q, done, length, "Q");
            done += length;
        }
    }
    // The conversion's chunked reading: each length is a chunk of blocks,
    // gathered into alternating slots of little room (so that lines also
    // overflow into the gathering) and decoded last block first.
    std::unique_ptr<halvik::ChunkInput> chunks =
        halvik::ChunkInput::open("I", "Q", type, kind, opener, 2, 9000, false, bytesPerSample);
    FUZZ_CHECK(chunks != nullptr, "chunked inputs of layout %d did not open", layout);
    std::size_t done = 0;
    std::size_t slot = 0;
    for (std::size_t length : blocks) {
        const halvik::ChunkShape shape{blockSize, length};
        std::vector<double> i(length, 12345.5);
        std::vector<double> q(length, -6789.25);
        chunks->gather(slot, shape, i.data(), q.data());
        for (std::size_t block = shape.blocks(); block-- > 0;) chunks->decode(slot, shape, block, i.data(), q.data());
        expectSame(i, expected.i, done, length, "chunked I");
        expectSame(q, expected.q, done, length, "chunked Q");
        done += length;
        slot ^= 1;
    }
    return 0;
}
