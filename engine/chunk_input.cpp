#include "engine/chunk_input.h"

#include <cstring>
#include <new>
#include <optional>
#include <span>
#include <vector>

#include "common/halvik_api.h"
#include "engine/line_batches.h"
#include "engine/sample_readers.h"
#include "engine/text_lines.h"

namespace halvik {
namespace {

// Samples decoded as they are gathered, by the readers of sample_readers.h.
class ReaderChunkInput final : public ChunkInput {
public:
    explicit ReaderChunkInput(InputSet inputs) : inputs_(std::move(inputs)) {}

    void gather(std::size_t, const ChunkShape& shape, double* i, double* q) override {
        for (std::size_t block = 0; block < shape.blocks(); ++block) {
            const std::size_t at = block * shape.blockSize;
            const std::size_t count = shape.blockLength(block);
            inputs_.readBlock(std::span(i + at, count), std::span(q + at, count));
        }
    }
    void decode(std::size_t, const ChunkShape&, std::size_t, double*, double*) override {}

private:
    InputSet inputs_;
};

// A text file's lines, a chunk at a time: gather copies each block's lines
// into the slot, decode parses them. Lines that do not fit the slot are
// parsed as they are gathered: slower, but memory stays bounded whatever
// the lines' lengths.
class TextLines {
public:
    enum class Columns { Two, I, Q };

    TextLines(std::unique_ptr<ByteSource> source, Columns columns)
        : source_(std::move(source)), batches_(*source_), columns_(columns) {}

    bool allocate(std::size_t slots, std::size_t capacity) {
        slots_.resize(slots);
        for (Slot& slot : slots_) {
            slot.text.reset(new (std::nothrow) char[capacity]);
            if (!slot.text) return false;
            slot.capacity = capacity;
        }
        return true;
    }

    void gather(std::size_t slotIndex, const ChunkShape& shape, double* i, double* q) {
        Slot& slot = slots_[slotIndex];
        slot.used = 0;
        slot.blocks.assign(shape.blocks(), Span{});
        bool full = false;
        for (std::size_t block = 0; block < shape.blocks(); ++block) {
            const std::size_t at = block * shape.blockSize;
            const std::size_t wanted = shape.blockLength(block);
            Span& span = slot.blocks[block];
            span.offset = slot.used;
            while (!full && span.lines < wanted && haveBytes()) {
                const LeadingLines take = leadingLines(pending_, wanted - span.lines);
                // A last line without a line feed, or the head of a cut line, gets one.
                const bool unfed = pending_[take.bytes - 1] != '\n';
                if (slot.used + take.bytes + unfed > slot.capacity) {
                    full = true;
                    break;
                }
                std::memcpy(slot.text.get() + slot.used, pending_.data(), take.bytes);
                slot.used += take.bytes;
                if (unfed) slot.text[slot.used++] = '\n';
                span.lines += take.count;
                pending_.remove_prefix(take.bytes);
            }
            span.bytes = slot.used - span.offset;
            std::size_t done = span.lines;
            while (done < wanted && haveBytes()) {
                const LeadingLines take = leadingLines(pending_, wanted - done);
                parse(pending_.substr(0, take.bytes), at + done, i, q);
                done += take.count;
                pending_.remove_prefix(take.bytes);
            }
            // After the last line the channels read 0.0.
            if (columns_ != Columns::Q) std::fill(i + at + done, i + at + wanted, 0.0);
            if (columns_ != Columns::I) std::fill(q + at + done, q + at + wanted, 0.0);
        }
    }

    void decode(std::size_t slotIndex, const ChunkShape& shape, std::size_t block, double* i, double* q) {
        const Slot& slot = slots_[slotIndex];
        const Span& span = slot.blocks[block];
        parse(std::string_view(slot.text.get() + span.offset, span.bytes), block * shape.blockSize, i, q);
    }

private:
    struct Span {
        std::size_t offset = 0;
        std::size_t bytes = 0;
        std::size_t lines = 0;
    };
    struct Slot {
        std::unique_ptr<char[]> text;
        std::size_t capacity = 0;
        std::size_t used = 0;
        std::vector<Span> blocks;
    };

    bool haveBytes() {
        if (!pending_.empty()) return true;
        if (ended_) return false;
        ended_ = !batches_.next(pending_);
        return !ended_;
    }

    void parse(std::string_view lines, std::size_t at, double* i, double* q) const {
        switch (columns_) {
        case Columns::Two: parseTwoColumnLines(lines, i + at, q + at); break;
        case Columns::I: parseSingleColumnLines(lines, i + at); break;
        case Columns::Q: parseSingleColumnLines(lines, q + at); break;
        }
    }

    std::unique_ptr<ByteSource> source_;
    LineBatches batches_;
    Columns columns_;
    std::string_view pending_;  // read, not yet gathered
    bool ended_ = false;
    std::vector<Slot> slots_;
};

class TextChunkInput final : public ChunkInput {
public:
    void add(std::unique_ptr<TextLines> file) { files_.push_back(std::move(file)); }
    bool allocate(std::size_t slots, std::size_t capacity) {
        for (auto& file : files_) {
            if (!file->allocate(slots, capacity)) return false;
        }
        return true;
    }
    void setMissing(bool i, bool q) {
        missingI_ = i;
        missingQ_ = q;
    }

    void gather(std::size_t slot, const ChunkShape& shape, double* i, double* q) override {
        if (missingI_) std::fill(i, i + shape.length, 0.0);
        if (missingQ_) std::fill(q, q + shape.length, 0.0);
        for (auto& file : files_) file->gather(slot, shape, i, q);
    }
    void decode(std::size_t slot, const ChunkShape& shape, std::size_t block, double* i, double* q) override {
        for (auto& file : files_) file->decode(slot, shape, block, i, q);
    }

private:
    std::vector<std::unique_ptr<TextLines>> files_;
    bool missingI_ = false;
    bool missingQ_ = false;
};

}  // namespace

std::unique_ptr<ChunkInput> ChunkInput::open(const std::string& iPath, const std::string& qPath, int32_t dataType,
                                             int32_t fileKind, const SourceOpener& opener, std::size_t slots,
                                             std::size_t chunkSamples, bool lineByLine,
                                             std::size_t textBytesPerSample) {
    const bool text = fileKind != HALVIK_KIND_IQ_FILE || dataType == HALVIK_TYPE_TEXT;
    if (!text || lineByLine) {
        std::optional<InputSet> inputs = InputSet::open(iPath, qPath, dataType, fileKind, opener);
        if (!inputs) return nullptr;
        return std::make_unique<ReaderChunkInput>(std::move(*inputs));
    }
    auto input = std::make_unique<TextChunkInput>();
    auto add = [&](const std::string& path, TextLines::Columns columns) {
        std::unique_ptr<ByteSource> source = opener(path);
        if (!source) return false;
        input->add(std::make_unique<TextLines>(std::move(source), columns));
        return true;
    };
    if (fileKind == HALVIK_KIND_IQ_FILE) {
        if (!add(iPath, TextLines::Columns::Two)) return nullptr;
    } else {
        if ((fileKind & HALVIK_KIND_I_FILE) && !add(iPath, TextLines::Columns::I)) return nullptr;
        if ((fileKind & HALVIK_KIND_Q_FILE) && !add(qPath, TextLines::Columns::Q)) return nullptr;
        input->setMissing(!(fileKind & HALVIK_KIND_I_FILE), !(fileKind & HALVIK_KIND_Q_FILE));
    }
    if (!input->allocate(slots, chunkSamples * textBytesPerSample)) return nullptr;
    return input;
}

}  // namespace halvik
