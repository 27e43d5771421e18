#include "engine/awv_reader.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <functional>
#include <limits>
#include <map>

#include "engine/awv_word.h"

namespace halvik {
namespace {

constexpr int kEnd = -1;
constexpr std::size_t kMaxKeyLength = 16;
constexpr std::size_t kChunkSamples = 8192;

// Thrown inside the reader only; readAwv turns it into its result.
struct Fault {
    std::uint64_t offset;
    std::string message;
};

[[noreturn]] void fail(std::uint64_t offset, std::string message) { throw Fault{offset, std::move(message)}; }

std::string describeByte(int c) {
    if (c == kEnd) return "the end of the file";
    if (c >= 0x20 && c < 0x7f) return std::string("'") + static_cast<char>(c) + "'";
    static const char* const digits = "0123456789ABCDEF";
    return std::string("byte 0x") + digits[(c >> 4) & 0xf] + digits[c & 0xf];
}

std::string quoted(const std::string& text) { return "\"" + text + "\""; }

// Bytes of the source with their offset; one buffer, refilled as needed.
class Cursor {
public:
    explicit Cursor(ByteSource& source) : source_(source), buffer_(std::size_t{1} << 16) {}

    int get() {
        if (begin_ == end_ && !refill()) return kEnd;
        ++offset_;
        return static_cast<int>(std::to_integer<unsigned char>(buffer_[begin_++]));
    }

    // Up to `size` bytes; fewer only at the end of the data.
    std::size_t read(std::byte* destination, std::size_t size) {
        std::size_t done = 0;
        while (done < size) {
            if (begin_ == end_ && !refill()) break;
            std::size_t n = std::min(size - done, end_ - begin_);
            std::memcpy(destination + done, buffer_.data() + begin_, n);
            begin_ += n;
            done += n;
        }
        offset_ += done;
        return done;
    }

    std::uint64_t offset() const { return offset_; }

private:
    bool refill() {
        if (ended_) return false;
        begin_ = 0;
        end_ = source_.read(buffer_);
        ended_ = end_ == 0;
        return !ended_;
    }

    ByteSource& source_;
    std::vector<std::byte> buffer_;
    std::size_t begin_ = 0;
    std::size_t end_ = 0;
    bool ended_ = false;
    std::uint64_t offset_ = 0;
};

bool isDigit(char c) { return c >= '0' && c <= '9'; }

bool allDigits(const std::string& text, std::size_t from, std::size_t count) {
    if (from + count > text.size()) return false;
    return std::all_of(text.begin() + static_cast<std::ptrdiff_t>(from),
                       text.begin() + static_cast<std::ptrdiff_t>(from + count), isDigit);
}

// "%f": optional "-", digits, ".", six digits.
bool isFixedNumber(const std::string& text) {
    std::size_t start = !text.empty() && text[0] == '-' ? 1 : 0;
    std::size_t point = text.find('.');
    return point != std::string::npos && point > start && allDigits(text, start, point - start) &&
           text.size() == point + 7 && allDigits(text, point + 1, 6);
}

// "%E" with a three-digit exponent: optional "-", d.dddddd, "E", sign, ddd.
bool isExponentNumber(const std::string& text) {
    std::size_t s = !text.empty() && text[0] == '-' ? 1 : 0;
    return text.size() == s + 13 && isDigit(text[s]) && text[s + 1] == '.' && allDigits(text, s + 2, 6) &&
           text[s + 8] == 'E' && (text[s + 9] == '+' || text[s + 9] == '-') && allDigits(text, s + 10, 3);
}

double toDouble(const std::string& text) {
    double value = 0.0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

// "%d" of an int32.
std::optional<std::int32_t> toInt32(const std::string& text) {
    std::size_t s = !text.empty() && text[0] == '-' ? 1 : 0;
    if (text.size() == s || !allDigits(text, s, text.size() - s)) return std::nullopt;
    if (text.size() > s + 1 && text[s] == '0') return std::nullopt;
    std::int32_t value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

// One header line under examination: its fields and where each begins.
struct Line {
    std::uint64_t offset;
    std::string key;
    std::vector<std::string> fields;
    std::vector<std::uint64_t> fieldOffsets;

    void expectFieldCount(std::size_t count) const {
        if (fields.size() != count)
            fail(offset,
                 key + " line has " + std::to_string(fields.size()) + " field(s), expected " + std::to_string(count));
    }
    const std::string& word(std::size_t index, std::initializer_list<const char*> allowed) const {
        for (const char* candidate : allowed) {
            if (fields[index] == candidate) return fields[index];
        }
        std::string list;
        for (const char* candidate : allowed) list += (list.empty() ? "" : ", ") + std::string(candidate);
        fail(fieldOffsets[index], "unknown " + key + " value " + quoted(fields[index]) + " (expected " + list + ")");
    }
    double number(std::size_t index) const {
        if (!isFixedNumber(fields[index]) && !isExponentNumber(fields[index]))
            fail(fieldOffsets[index],
                 key + " value " + quoted(fields[index]) +
                     " is not a number in %f or %E form");  // locale-free: message text, not a format
        return toDouble(fields[index]);
    }
    std::int32_t integer(std::size_t index) const {
        std::optional<std::int32_t> value = toInt32(fields[index]);
        if (!value) fail(fieldOffsets[index], key + " value " + quoted(fields[index]) + " is not a 32-bit integer");
        return *value;
    }
};

void checkDate(const Line& line, AwvSettings& s) {
    line.expectFieldCount(2);
    const std::string& d = line.fields[0];
    const std::string& t = line.fields[1];
    bool dateOk = d.size() == 10 && allDigits(d, 0, 4) && d[4] == '/' && allDigits(d, 5, 2) && d[7] == '/' &&
                  allDigits(d, 8, 2) && d.substr(5, 2) >= "01" && d.substr(5, 2) <= "12" && d.substr(8, 2) >= "01" &&
                  d.substr(8, 2) <= "31";
    if (!dateOk) fail(line.fieldOffsets[0], "DATE " + quoted(d) + " is not a date YYYY/MM/DD");
    bool timeOk = t.size() == 8 && allDigits(t, 0, 2) && t[2] == ':' && allDigits(t, 3, 2) && t[5] == ':' &&
                  allDigits(t, 6, 2) && t.substr(0, 2) <= "23" && t.substr(3, 2) <= "59" && t.substr(6, 2) <= "60";
    if (!timeOk) fail(line.fieldOffsets[1], "DATE time " + quoted(t) + " is not a time HH:MM:SS");
    s.date = d;
    s.time = t;
}

AwvMarkerLine markerLine(const Line& line) {
    line.expectFieldCount(6);
    AwvMarkerLine marker;
    marker.state = line.word(0, {"ON", "OFF"});
    marker.polarity = line.word(1, {"POS", "NEG"});
    for (std::size_t k = 0; k < 4; ++k) marker.params[k] = line.integer(2 + k);
    return marker;
}

AwvOutputSequence outputSequence(const Line& line) {
    if (line.fields.empty()) line.expectFieldCount(1);
    AwvOutputSequence sequence;
    sequence.mode = line.word(0, {"CONT", "SINGL", "SINGLE", "GATE"});
    if (sequence.mode == "CONT") {
        line.expectFieldCount(1);
    } else if (sequence.mode == "GATE") {
        line.expectFieldCount(2);
        sequence.gate = line.word(1, {"EDGE", "LEV"});
    } else {
        line.expectFieldCount(2);
        sequence.loops = line.integer(1);
    }
    return sequence;
}

using LineCheck = std::function<void(const Line&, AwvSettings&)>;

// The header vocabulary of both writers of the format.
const std::map<std::string, LineCheck>& vocabulary() {
    static const std::map<std::string, LineCheck> checks = {
        {"DATE", checkDate},
        {"IQFILTER",
         [](const Line& l, AwvSettings& s) {
             l.expectFieldCount(1);
             s.iqFilter = l.word(0, {"FLT2_5M", "FLT50M", "THR"});
         }},
        {"IQOUTPUT",
         [](const Line& l, AwvSettings& s) {
             l.expectFieldCount(1);
             s.iqOutput = l.word(0, {"FIX", "VAR", "OFF"});
         }},
        {"IQGAIN",
         [](const Line& l, AwvSettings& s) {
             l.expectFieldCount(2);
             s.iqGain = AwvNumberPair{l.number(0), l.number(1)};
         }},
        {"IQOFFSET",
         [](const Line& l, AwvSettings& s) {
             l.expectFieldCount(2);
             s.iqOffset = AwvNumberPair{l.number(0), l.number(1)};
         }},
        {"STARTTRIGGER",
         [](const Line& l, AwvSettings& s) {
             l.expectFieldCount(2);
             s.startTrigger = AwvStartTrigger{l.word(0, {"INT", "LINK"}), l.word(1, {"POS", "NEG"})};
         }},
        {"OUTPUTSEQUENCE", [](const Line& l, AwvSettings& s) { s.outputSequence = outputSequence(l); }},
        {"SAMPLINGFREQ",
         [](const Line& l, AwvSettings& s) {
             l.expectFieldCount(1);
             if (!isFixedNumber(l.fields[0]))
                 fail(l.fieldOffsets[0], "SAMPLINGFREQ value " + quoted(l.fields[0]) +
                                             " is not a number in %f form");  // locale-free: message text, not a format
             s.samplingFrequency = toDouble(l.fields[0]);
         }},
        {"MARKER1", [](const Line& l, AwvSettings& s) { s.marker1 = markerLine(l); }},
        {"MARKER2", [](const Line& l, AwvSettings& s) { s.marker2 = markerLine(l); }},
        {"MARKERMODE",
         [](const Line& l, AwvSettings& s) {
             l.expectFieldCount(1);
             s.markerMode = l.word(0, {"WFM", "SEQ"});
         }},
    };
    return checks;
}

std::uint32_t littleEndian32(const std::byte* p) {
    return std::to_integer<std::uint32_t>(p[0]) | (std::to_integer<std::uint32_t>(p[1]) << 8) |
           (std::to_integer<std::uint32_t>(p[2]) << 16) | (std::to_integer<std::uint32_t>(p[3]) << 24);
}

// Statistics over the sample block, fed in whole samples.
class BlockStatistics {
public:
    void add(const std::byte* bytes, std::size_t samples) {
        for (std::size_t k = 0; k < samples; ++k, bytes += 8) {
            std::uint32_t a = littleEndian32(bytes);
            std::uint32_t b = littleEndian32(bytes + 4);
            addCode(wordA_, a & kCodeMask, (a >> (kMarker2BitIndex + 1)) != 0);
            addCode(wordB_, b & kCodeMask, (b >> kCodeBits) != 0);
            addMarker(marker1_, level1_, static_cast<int>((a >> kMarker1BitIndex) & 1));
            addMarker(marker2_, level2_, static_cast<int>((a >> kMarker2BitIndex) & 1));
            ++sample_;
        }
    }

    void finish(AwvSummary& summary) {
        if (sample_ == 0) wordA_.minCode = wordB_.minCode = 0;
        summary.sampleCount = sample_;
        summary.wordA = wordA_;
        summary.wordB = wordB_;
        summary.marker1 = marker1_;
        summary.marker2 = marker2_;
    }

private:
    static void addCode(AwvCodeStats& stats, std::uint32_t code, bool strayBits) {
        stats.minCode = std::min(stats.minCode, code);
        stats.maxCode = std::max(stats.maxCode, code);
        stats.atNegativeFullScale += code == kNegativeFullScale;
        stats.atPositiveFullScale += code == kPositiveFullScale;
        stats.wordsWithStrayBits += strayBits;
    }

    void addMarker(AwvMarkerStats& stats, int& level, int bit) {
        stats.highSamples += static_cast<std::uint64_t>(bit);
        if (bit == level) return;
        level = bit;
        ++stats.changeCount;
        if (stats.firstChanges.size() < kAwvChangePointsKept) stats.firstChanges.push_back({sample_, bit});
    }

    AwvCodeStats wordA_{kCodeMask + 1, 0, 0, 0, 0};
    AwvCodeStats wordB_{kCodeMask + 1, 0, 0, 0, 0};
    AwvMarkerStats marker1_;
    AwvMarkerStats marker2_;
    int level1_ = 0;
    int level2_ = 0;
    std::uint64_t sample_ = 0;
};

class Reader {
public:
    explicit Reader(ByteSource& source) : cursor_(source) {}

    AwvSummary run() {
        std::uint64_t blockBytes = readHeader();
        summary_.dataOffset = cursor_.offset();
        readBlock(blockBytes);
        readClosing(blockBytes);
        summary_.fileSize = cursor_.offset();
        return std::move(summary_);
    }

    AwvSummary runHeader() {
        std::uint64_t blockBytes = readHeader();
        summary_.dataOffset = cursor_.offset();
        summary_.sampleCount = blockBytes / 8;
        return std::move(summary_);
    }

private:
    // Header lines up to and including "{WAVEDATA:<count>;"; returns the count.
    std::uint64_t readHeader() {
        std::map<std::string, std::uint64_t> seen;
        for (;;) {
            std::uint64_t start = cursor_.offset();
            int c = cursor_.get();
            if (c == kEnd) fail(start, start == 0 ? "the file is empty" : "the file ends before the WAVEDATA record");
            if (c != '{')
                fail(start, "expected '{' opening a header line or the WAVEDATA record, found " + describeByte(c));
            std::string key = readKey(start);
            if (key == "WAVEDATA") return readCount();
            Line line = readFields(start, key);
            auto check = vocabulary().find(key);
            if (check == vocabulary().end()) fail(start, "unknown header key " + quoted(key));
            auto [first, inserted] = seen.emplace(key, start);
            if (!inserted)
                fail(start, "second " + key + " line (the first is at byte " + std::to_string(first->second) + ")");
            check->second(line, summary_.settings);
            summary_.lines.push_back(AwvHeaderLine{start, key, line.fields});
        }
    }

    std::string readKey(std::uint64_t lineStart) {
        std::string key;
        for (;;) {
            std::uint64_t at = cursor_.offset();
            int c = cursor_.get();
            if (c == ':') break;
            bool keyChar = (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
            if (!keyChar) fail(at, "expected a header key in capitals and ':', found " + describeByte(c));
            if (key.size() == kMaxKeyLength)
                fail(lineStart, "header key longer than " + std::to_string(kMaxKeyLength) + " characters");
            key += static_cast<char>(c);
        }
        if (key.empty()) fail(lineStart + 1, "empty header key");
        return key;
    }

    Line readFields(std::uint64_t start, const std::string& key) {
        Line line{start, key, {std::string()}, {cursor_.offset()}};
        for (;;) {
            std::uint64_t at = cursor_.offset();
            int c = cursor_.get();
            if (c == '}') break;
            if (c == kEnd || c == '\n' || c == '\r')
                fail(at, "the " + key + " line is not closed by '}', found " + describeByte(c));
            if (c < 0x20 || c >= 0x7f || c == '{')
                fail(at, "unexpected " + describeByte(c) + " in the " + key + " line");
            if (at - start >= kAwvMaxLineLength)
                fail(start, "the " + key + " line is longer than " + std::to_string(kAwvMaxLineLength) + " bytes");
            if (c == ';') {
                line.fields.emplace_back();
                line.fieldOffsets.push_back(at + 1);
            } else {
                line.fields.back() += static_cast<char>(c);
            }
        }
        std::uint64_t at = cursor_.offset();
        int c = cursor_.get();
        if (c == '\r') fail(at, "the " + key + " line ends with CR LF; header lines end with a single line feed");
        if (c != '\n') fail(at, "expected a line feed after the " + key + " line, found " + describeByte(c));
        return line;
    }

    std::uint64_t readCount() {
        countOffset_ = cursor_.offset();
        std::string digits;
        for (;;) {
            std::uint64_t at = cursor_.offset();
            int c = cursor_.get();
            if (c == ';') break;
            if (c < '0' || c > '9') fail(at, "expected the WAVEDATA byte count and ';', found " + describeByte(c));
            if (digits.size() == 18) fail(countOffset_, "the WAVEDATA byte count is implausibly long");
            digits += static_cast<char>(c);
        }
        if (digits.empty()) fail(countOffset_, "the WAVEDATA byte count is missing");
        if (digits.size() > 1 && digits[0] == '0')
            fail(countOffset_, "the WAVEDATA byte count " + digits + " has leading zeros");
        std::uint64_t count = 0;
        std::from_chars(digits.data(), digits.data() + digits.size(), count);
        if (count % 8 != 0)
            fail(countOffset_, "the WAVEDATA byte count " + digits + " is not a multiple of 8 (8 bytes per sample)");
        return count;
    }

    void readBlock(std::uint64_t blockBytes) {
        std::vector<std::byte> chunk(kChunkSamples * 8);
        BlockStatistics statistics;
        std::uint64_t left = blockBytes;
        while (left > 0) {
            std::size_t wanted = static_cast<std::size_t>(std::min<std::uint64_t>(left, chunk.size()));
            std::size_t got = cursor_.read(chunk.data(), wanted);
            statistics.add(chunk.data(), got / 8);
            left -= got;
            if (got < wanted)
                fail(cursor_.offset(), "the file ends inside the sample block: WAVEDATA announces " +
                                           std::to_string(blockBytes) + " bytes, only " +
                                           std::to_string(blockBytes - left) + " follow");
        }
        statistics.finish(summary_);
    }

    // The closing "}" and nothing after it. When the count is wrong, the
    // file's last "}" usually shows where the block really ends.
    void readClosing(std::uint64_t blockBytes) {
        std::uint64_t closeAt = cursor_.offset();
        int first = cursor_.get();
        if (first == kEnd) fail(closeAt, "the closing '}' is missing after the sample block");
        int last = first;
        std::uint64_t rest = 0;
        std::vector<std::byte> chunk(kChunkSamples * 8);
        for (std::size_t got; (got = cursor_.read(chunk.data(), chunk.size())) > 0; rest += got)
            last = std::to_integer<int>(chunk[got - 1]);
        if (first == '}' && rest == 0) return;
        std::string realBlock =
            "the sample block, which holds " + std::to_string(blockBytes + rest) + " bytes up to the final '}'";
        if (first == '}') {
            std::string hint = last == '}' ? " (or the WAVEDATA byte count " + std::to_string(blockBytes) +
                                                 " does not match " + realBlock + ")"
                                           : "";
            fail(closeAt + 1, std::to_string(rest) + " byte(s) follow the closing '}'" + hint);
        }
        if (last == '}')
            fail(countOffset_,
                 "the WAVEDATA byte count " + std::to_string(blockBytes) + " does not match " + realBlock);
        fail(closeAt, "expected the closing '}' after the sample block, found " + describeByte(first));
    }

    Cursor cursor_;
    AwvSummary summary_;
    std::uint64_t countOffset_ = 0;
};

}  // namespace

std::string AwvError::describe() const { return located ? "byte " + std::to_string(offset) + ": " + message : message; }

AwvReadResult readAwv(ByteSource& source) {
    try {
        return Reader(source).run();
    } catch (const Fault& fault) {
        return AwvError{fault.offset, fault.message};
    }
}

AwvReadResult readAwv(std::span<const std::byte> bytes) {
    MemoryByteSource source(bytes);
    return readAwv(source);
}

AwvReadResult readAwvHeader(ByteSource& source) {
    try {
        return Reader(source).runHeader();
    } catch (const Fault& fault) {
        return AwvError{fault.offset, fault.message};
    }
}

AwvReadResult readAwvHeaderFile(const std::string& path) {
    std::unique_ptr<FileByteSource> source = FileByteSource::open(path);
    if (!source) return AwvError{0, "cannot open " + quoted(path) + " for reading", false};
    return readAwvHeader(*source);
}

AwvReadResult readAwvFile(const std::string& path) {
    std::unique_ptr<FileByteSource> source = FileByteSource::open(path);
    if (!source) return AwvError{0, "cannot open " + quoted(path) + " for reading", false};
    return readAwv(*source);
}

}  // namespace halvik
