// Feeds a text reader whole items: each chunk handed over ends just past an
// item boundary (a separator, or a line end for CSV), and the unfinished
// rest is carried into the next read. An item longer than the buffer grows
// it, up to kMaxTextItemBytes.
#ifndef ORVENDA_GUI_INPUT_TEXT_CHUNKS_H
#define ORVENDA_GUI_INPUT_TEXT_CHUNKS_H

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "core/input/byte_reads.h"
#include "core/input/scan_types.h"

namespace orvenda::input {

enum class ReadStep { Continue, Stop, Failed };

// Reader requirements:
//   static const char* completeEnd(const char* begin, const char* end);
//     past the last item boundary in [begin, end), or begin when none;
//   ReadStep consume(const char* begin, const char* end, bool final);
//   int64_t line() const;            // line of the next unread item
//   const ScanError& error() const;  // after Failed
//   ScanResult result() const;
template <class Reader>
ScanOutcome readTextChunks(halvik::ByteSource& source, Reader& reader, std::size_t chunkBytes) {
    std::vector<char> buffer(std::clamp<std::size_t>(chunkBytes, 1, kMaxTextItemBytes));
    std::size_t filled = 0;
    for (;;) {
        if (filled == buffer.size()) {
            if (buffer.size() >= kMaxTextItemBytes) return {{}, ScanError{ScanFault::ItemTooLong, reader.line(), {}}};
            buffer.resize(std::min(buffer.size() * 2, kMaxTextItemBytes));
        }
        const std::size_t got = readBytes(source, buffer.data() + filled, buffer.size() - filled);
        if (source.error() != 0) return {{}, ScanError{ScanFault::ReadFailed, reader.line(), readErrorText(source)}};
        const bool final = got == 0;
        filled += got;
        const char* begin = buffer.data();
        const char* end = begin + filled;
        const char* stop = final ? end : Reader::completeEnd(begin, end);
        if (stop == begin && !final) continue;
        const ReadStep step = reader.consume(begin, stop, final);
        if (step == ReadStep::Failed) return {{}, reader.error()};
        if (step == ReadStep::Stop || final) return {reader.result(), {}};
        filled = static_cast<std::size_t>(end - stop);
        std::memmove(buffer.data(), stop, filled);
    }
}

// An item for a message: at most 40 characters, control characters shown as "?".
std::string shortenedItem(const char* begin, const char* end);

}  // namespace orvenda::input

#endif
