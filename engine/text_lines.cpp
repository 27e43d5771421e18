#include "engine/text_lines.h"

#include <algorithm>
#include <bit>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "engine/hot_loop.h"
#include "engine/line_reader.h"
#include "engine/text_number.h"

namespace halvik {
namespace {

bool isDigit(char c) { return static_cast<unsigned char>(c - '0') < 10; }

bool isSeparator(char c) { return c == ' ' || c == '\t' || c == ',' || c == ':' || c == ';'; }

double withSign(double value, bool negative) {
    return std::bit_cast<double>(std::bit_cast<uint64_t>(value) ^ (static_cast<uint64_t>(negative) << 63));
}

// A plain decimal at p: a sign, at most 19 digits with an optional point and
// an optional exponent, whose value is one correctly rounded multiplication
// or division of exact doubles (Clinger's fast path), the same one the
// general reader makes. nullptr for anything else. A line feed lies between
// p and end and ends every scan; end only bounds the reads of eight bytes.
// The value of eight decimal digits, one per byte (0..9), the first in the
// lowest byte.
uint64_t eightDigits(uint64_t digits) {
    digits = digits * 10 + (digits >> 8);
    return (((digits & 0x000000FF000000FFu) * (100 + (uint64_t{1000000} << 32)) +
             ((digits >> 16) & 0x000000FF000000FFu) * (1 + (uint64_t{10000} << 32))) >>
            32) &
           0xFFFFFFFFu;
}

// Reads the digits at p into mantissa and returns the end of them. The
// first eight are taken at once when the text holds eight more bytes.
const char* readDigits(const char* p, const char* end, uint64_t& mantissa) {
    static constexpr uint64_t kTens[] = {1, 10, 100, 1000, 10000, 100000, 1000000, 10000000, 100000000};
    if (end - p >= 8) {
        uint64_t word;
        std::memcpy(&word, p, 8);
        const uint64_t digits = word - 0x3030303030303030u;
        // The high bit of each byte that is no digit (borrows and carries only
        // reach the bytes after the first such byte).
        const uint64_t others = ((digits + 0x7676767676767676u) | digits) & 0x8080808080808080u;
        const int count = others ? std::countr_zero(others) / 8 : 8;
        if (count == 0) return p;
        mantissa = mantissa * kTens[count] + eightDigits(digits << (8 * (8 - count)));
        p += count;
        if (count < 8) return p;
    }
    while (isDigit(*p)) mantissa = mantissa * 10 + static_cast<uint64_t>(*p++ - '0');
    return p;
}

const char* plainDecimal(const char* p, const char* end, double& value) {
    static constexpr double kPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                         1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    const bool negative = *p == '-';
    p += static_cast<std::ptrdiff_t>(negative || *p == '+');
    uint64_t mantissa = 0;
    const char* start = p;
    while (isDigit(*p)) mantissa = mantissa * 10 + static_cast<uint64_t>(*p++ - '0');
    std::ptrdiff_t digits = p - start;
    int exponent = 0;
    if (*p == '.') {
        const char* first = ++p;
        p = readDigits(p, end, mantissa);
        digits += p - first;
        exponent = -static_cast<int>(p - first);
    }
    if (digits == 0 || digits > 19) return nullptr;
    if ((*p | 0x20) == 'e') {
        const char* e = p + 1;
        const bool negativeExponent = *e == '-';
        e += static_cast<std::ptrdiff_t>(negativeExponent || *e == '+');
        if (isDigit(*e)) {  // otherwise the number ends before the 'e'
            int written = 0;
            for (; isDigit(*e); ++e) {
                if (written > 9999) return nullptr;
                written = written * 10 + (*e - '0');
            }
            exponent += negativeExponent ? -written : written;
            p = e;
        }
    }
    if (mantissa == 0) {
        value = withSign(0.0, negative);
        return p;
    }
    if (mantissa > (uint64_t{1} << 53) || exponent < -22 || exponent > 22) return nullptr;
    const double m = static_cast<double>(mantissa);
    value = withSign(exponent < 0 ? m / kPowers[-exponent] : m * kPowers[exponent], negative);
    return p;
}

// Past the rest of a line whose values are read: its line feed.
const char* lineFeedFrom(const char* p, const char* end) {
    return *p == '\n' ? p : static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
}

// True when every byte the fast path looked at lies in the kept head.
bool withinHead(const char* line, const char* p) {
    return static_cast<std::size_t>(p - line) < LineReader::kMaxKeptLength;
}

std::string_view keptLine(const char* line, const char* feed) {
    return std::string_view(line, std::min(static_cast<std::size_t>(feed - line), LineReader::kMaxKeptLength));
}

// One two-column line on the fast path; nullptr when it is not plain.
const char* plainTwoColumnLine(const char* p, const char* end, double& i, double& q) {
    const char* line = p;
    i = q = 0.0;
    while (isSeparator(*p)) ++p;
    if (*p != '\n') {
        if (!(p = plainDecimal(p, end, i))) return nullptr;
        if (isSeparator(*p)) {
            while (isSeparator(*p)) ++p;
            if (*p != '\n') {
                if (!(p = plainDecimal(p, end, q))) return nullptr;
                const char* feed = lineFeedFrom(p, end);  // further columns are ignored
                return withinHead(line, p) ? feed : nullptr;
            }
        } else if (*p == '\r' && p[1] == '\n') {
            ++p;
        } else if (*p != '\n') {
            return nullptr;
        }
    }
    return withinHead(line, p) ? p : nullptr;
}

const char* plainSingleColumnLine(const char* p, const char* end, double& value) {
    const char* line = p;
    while (*p == ' ' || *p == '\t') ++p;
    if (!(p = plainDecimal(p, end, value))) return nullptr;
    const char* feed = lineFeedFrom(p, end);
    return withinHead(line, p) ? feed : nullptr;
}

// Calls read(line start, end of text) for every line up to the last line
// feed (it returns that line's feed), then readTail(line) for a last line
// without one.
template <typename Read, typename ReadTail>
std::size_t readLines(std::string_view text, Read read, ReadTail readTail) {
    const char* p = text.data();
    const char* end = p + text.size();
    const void* lastFeed = text.empty() ? nullptr : ::memrchr(p, '\n', text.size());
    const char* fedEnd = lastFeed ? static_cast<const char*>(lastFeed) + 1 : p;
    std::size_t count = 0;
    while (p != fedEnd) p = read(p, fedEnd, count++) + 1;
    if (p != end) readTail(keptLine(p, end), count++);
    return count;
}

}  // namespace

std::size_t parseTwoColumnLines(std::string_view text, double* i, double* q) {
    return readLines(
        text,
        [&](const char* line, const char* end, std::size_t k) {
            if (const char* feed = plainTwoColumnLine(line, end, i[k], q[k])) return feed;
            const char* feed = static_cast<const char*>(std::memchr(line, '\n', static_cast<std::size_t>(end - line)));
            const SamplePair pair = parseTwoColumnLine(keptLine(line, feed));
            i[k] = pair.i;
            q[k] = pair.q;
            return feed;
        },
        [&](std::string_view line, std::size_t k) {
            const SamplePair pair = parseTwoColumnLine(line);
            i[k] = pair.i;
            q[k] = pair.q;
        });
}

std::size_t parseSingleColumnLines(std::string_view text, double* values) {
    return readLines(
        text,
        [&](const char* line, const char* end, std::size_t k) {
            if (const char* feed = plainSingleColumnLine(line, end, values[k])) return feed;
            const char* feed = static_cast<const char*>(std::memchr(line, '\n', static_cast<std::size_t>(end - line)));
            values[k] = parseSingleColumnLine(keptLine(line, feed));
            return feed;
        },
        [&](std::string_view line, std::size_t k) { values[k] = parseSingleColumnLine(line); });
}

namespace {

// Bit k set where text[k] is a line feed, for 64 bytes.
uint64_t lineFeedMask(const char* text) {
#if defined(__SSE2__)
    const __m128i feed = _mm_set1_epi8('\n');
    uint64_t mask = 0;
    for (int part = 0; part < 4; ++part) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(text + 16 * part));
        mask |= static_cast<uint64_t>(static_cast<uint16_t>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, feed))))
                << (16 * part);
    }
    return mask;
#else
    uint64_t mask = 0;
    for (int k = 0; k < 64; ++k) mask |= static_cast<uint64_t>(text[k] == '\n') << k;
    return mask;
#endif
}

}  // namespace

// Built for several x86-64 levels: counting bits is one instruction on the
// newer ones.
HALVIK_HOT_LOOP LeadingLines leadingLines(std::string_view text, std::size_t most) {
    const char* data = text.data();
    std::size_t at = 0;
    std::size_t count = 0;
    // Whole windows while a byte is left after them: the scan below counts a
    // last line without a line feed.
    while (count < most && text.size() - at > 64) {
        uint64_t feeds = lineFeedMask(data + at);
        const auto found = static_cast<std::size_t>(std::popcount(feeds));
        if (count + found < most) {
            count += found;
            at += 64;
            continue;
        }
        for (std::size_t skip = most - count - 1; skip > 0; --skip) feeds &= feeds - 1;
        return {at + static_cast<std::size_t>(std::countr_zero(feeds)) + 1, most};
    }
    while (count < most && at < text.size()) {
        const void* feed = std::memchr(data + at, '\n', text.size() - at);
        at = feed ? static_cast<std::size_t>(static_cast<const char*>(feed) - data) + 1 : text.size();
        ++count;
    }
    return {at, count};
}

}  // namespace halvik
