// The marker file reader and what a loaded file does to the marker store.
#include "core/markers/graph_lib.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <limits>
#include <memory>
#include <optional>

#include "core/settings/text_conversions.h"
#include "engine/byte_source.h"

namespace orvenda::markers {
namespace {

// Longer items are no number anyone writes; they are rejected without being
// kept whole, so a wrongly chosen large file costs no memory.
constexpr std::size_t kMaxItemLength = 4096;

// Serves the bytes of a byte source one at a time. Reading stops early at the
// point limit, so the rest of a large file is never read.
class ByteStream {
public:
    explicit ByteStream(halvik::ByteSource& source) : source_(source) {}
    int next() {
        if (pos_ == block_.size()) {
            block_ = source_.view(halvik::ByteSource::kMaxView);
            pos_ = 0;
            if (block_.empty()) return -1;
        }
        return static_cast<unsigned char>(block_[pos_++]);
    }
    int error() const { return source_.error(); }

private:
    halvik::ByteSource& source_;
    std::span<const std::byte> block_;
    std::size_t pos_ = 0;
};

struct Item {
    std::string text;
    int index = 0;  // 1-based, as the user counts
    int line = 1;
};

// Quotes an item for a message: short, and with unprintable bytes escaped.
std::string excerpt(std::string_view text) {
    constexpr std::size_t kShown = 24;
    std::string out;
    for (std::size_t i = 0; i < text.size() && i < kShown; ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c >= 0x20 && c < 0x7F) {
            out += static_cast<char>(c);
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            out += hex;
        }
    }
    if (text.size() > kShown) out += "...";
    return out;
}

// Splits the bytes into items. A run of blanks, tabs and line ends with at
// most one comma separates two items; a comma with no item before it (at the
// start or after another comma) is an empty item, which is an error, since
// skipping it would pair every following number wrongly.
class Tokenizer {
public:
    enum class Step { Item, End, EmptyItem, ReadError };

    explicit Tokenizer(ByteStream& source) : source_(source) {}

    Step next(Item& item) {
        for (;;) {
            int c = take();
            while (isSeparator(c)) {
                if (c == ',') {
                    if (!itemSinceComma_) return emptyItem(item);
                    itemSinceComma_ = false;
                } else if (c == '\n') {
                    ++line_;
                } else if (c == '\r') {
                    ++line_;
                    const int after = take();
                    if (after != '\n') pushBack(after);
                }
                c = take();
            }
            if (c < 0) return source_.error() != 0 ? Step::ReadError : Step::End;

            item.text.clear();
            item.line = line_;
            while (c >= 0 && !isSeparator(c)) {
                // Room for a byte-order mark, so that an item cut short here
                // stays too long once the mark is taken off. Such an item is
                // rejected, so nothing more is read: a device that never
                // ends (/dev/zero) must not hold the window forever.
                if (item.text.size() > kMaxItemLength + 3) break;
                item.text += static_cast<char>(c);
                c = take();
            }
            pushBack(c);
            if (source_.error() != 0) return Step::ReadError;
            // A byte-order mark that some editors put at the start of a text file.
            if (count_ == 0 && item.text.starts_with("\xEF\xBB\xBF")) {
                item.text.erase(0, 3);
                if (item.text.empty()) continue;
            }
            item.index = ++count_;
            itemSinceComma_ = true;
            return Step::Item;
        }
    }

    int line() const { return line_; }

private:
    static bool isSeparator(int c) { return c == ',' || c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
    int take() {
        if (pushed_ != kNone) {
            const int c = pushed_;
            pushed_ = kNone;
            return c;
        }
        return source_.next();
    }
    void pushBack(int c) { pushed_ = c; }
    Step emptyItem(Item& item) {
        item.text.clear();
        item.index = count_ + 1;
        item.line = line_;
        return Step::EmptyItem;
    }

    static constexpr int kNone = -2;
    ByteStream& source_;
    int pushed_ = kNone;
    int line_ = 1;
    int count_ = 0;
    bool itemSinceComma_ = false;  // so a comma before the first item is an empty item
};

std::string describe(const Item& item) {
    return "item " + std::to_string(item.index) + " (\"" + excerpt(item.text) + "\", line " +
           std::to_string(item.line) + ")";
}

MarkerFileError rejected(std::string_view fileName, const std::string& reason) {
    return MarkerFileError{"The marker file \"" + std::string(fileName) + "\" cannot be used: " + reason +
                           ". Nothing was loaded."};
}

// The item as a rounded int32, or the reason it is none.
std::variant<int32_t, std::string> itemValue(const Item& item) {
    const std::optional<double> number =
        item.text.size() > kMaxItemLength ? std::nullopt : settings::strictNumber(item.text);
    if (!number) return describe(item) + " is not a number";
    // The rounding that roundedInteger applies (halves to even); the numbers
    // it would saturate are out of range here.
    const double rounded = std::nearbyint(*number);
    if (!(rounded >= static_cast<double>(std::numeric_limits<int32_t>::min()) &&
          rounded <= static_cast<double>(std::numeric_limits<int32_t>::max())))
        return describe(item) + " lies beyond the 32-bit integer range";
    return settings::roundedInteger(*number);
}

MarkerFileReadResult readPairs(halvik::ByteSource& bytes, std::string_view fileName, int maxPoints) {
    ByteStream source(bytes);
    const auto limit = static_cast<std::size_t>(std::max(maxPoints, 0));
    MarkerFileContents contents;
    contents.points.reserve(std::min<std::size_t>(limit, kMarkerFileMaxPoints));
    Tokenizer tokenizer(source);
    Item item;
    for (;;) {
        int32_t pair[2] = {0, 0};
        for (int half = 0; half < 2; ++half) {
            switch (tokenizer.next(item)) {
            case Tokenizer::Step::Item: break;
            case Tokenizer::Step::End:
                if (half == 0) return contents;
                return rejected(fileName, "the last position, " + describe(item) + ", has no value after it");
            case Tokenizer::Step::EmptyItem:
                return rejected(fileName, "item " + std::to_string(item.index) + " (line " + std::to_string(item.line) +
                                              ") is empty: two commas with no number between them");
            case Tokenizer::Step::ReadError:
                return rejected(fileName, "reading stopped at line " + std::to_string(tokenizer.line()) + ": " +
                                              std::strerror(source.error()));
            }
            auto value = itemValue(item);
            if (auto* reason = std::get_if<std::string>(&value)) return rejected(fileName, *reason);
            pair[half] = std::get<int32_t>(value);
        }
        if (contents.points.size() == limit) {
            // One pair beyond the limit was read: it is dropped, and so is the rest.
            contents.pointsDropped = true;
            return contents;
        }
        contents.points.push_back(MarkerPoint{pair[0], pair[1]});
    }
}

}  // namespace

MarkerFileReadResult readMarkerBytes(std::string_view bytes, std::string_view fileName, int maxPoints) {
    halvik::MemoryByteSource source(bytes);
    return readPairs(source, fileName, maxPoints);
}

MarkerFileReadResult readMarkerFile(const std::string& path, int maxPoints) {
    int error = 0;
    const auto source = halvik::FileByteSource::open(path, halvik::FileByteSource::Folders::Open, &error);
    if (!source)
        return MarkerFileError{"The marker file \"" + path + "\" cannot be opened: " + std::strerror(error) +
                               ". Nothing was loaded."};
    return readPairs(*source, path, maxPoints);
}

void storeLoadedMarker(MarkerStore& store, MarkerNumber marker, std::span<const MarkerPoint> points) {
    const bool second = marker == MarkerNumber::Two;
    MarkerPoints& list = second ? store.Marker2Points : store.Marker1Points;
    const std::size_t count = std::min<std::size_t>(points.size(), kMarkerPointCapacity);
    std::copy_n(points.begin(), count, list.begin());
    // The last entry is cleared by nothing but a load of a full list.
    for (std::size_t i = count; i < kMarkerPointCapacity - 1; ++i) list[i] = MarkerPoint{0, 0};
    (second ? store.Marker2Count : store.Marker1Count) = static_cast<int32_t>(count);
    if (count > 0) {
        // The last point, not the largest: the list is taken as it stands. A
        // last Pos of INT32_MAX would overflow, so the length stops there.
        const int64_t length = int64_t{points[count - 1].Pos} + 1;
        (second ? store.Marker2Length : store.Marker1Length) =
            static_cast<int32_t>(std::min<int64_t>(length, std::numeric_limits<int32_t>::max()));
    }
    store.MarkerLength = std::max(store.Marker1Length, store.Marker2Length);
}

}  // namespace orvenda::markers
