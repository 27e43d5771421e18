#include "input/free_format_reader.h"

#include <array>
#include <cmath>

#include "input/number_token.h"

namespace orvenda::input {
namespace {

constexpr std::array<bool, 256> kSeparators = [] {
    std::array<bool, 256> table{};
    for (unsigned char c : {',', ' ', '\t', '\n', '\r'})
        table[c] = true;
    return table;
}();

inline bool isSeparator(char c) { return kSeparators[static_cast<unsigned char>(c)]; }

}  // namespace

std::string shortenedItem(const char* begin, const char* end) {
    constexpr std::ptrdiff_t kMaxShown = 40;
    std::string item(begin, end - begin > kMaxShown ? begin + kMaxShown : end);
    for (char& c : item)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f)
            c = '?';
    if (end - begin > kMaxShown)
        item += "...";
    return item;
}

const char* FreeFormatReader::completeEnd(const char* begin, const char* end) {
    for (const char* p = end; p != begin; --p)
        if (isSeparator(p[-1]))
            return p;
    return begin;
}

ReadStep FreeFormatReader::fail(ScanFault fault, int64_t line, std::string detail) {
    error_ = ScanError{fault, line, std::move(detail)};
    return ReadStep::Failed;
}

ReadStep FreeFormatReader::consume(const char* begin, const char* end, bool final) {
    const char* p = begin;
    for (;;) {
        while (p < end && isSeparator(*p)) {
            line_ += *p == '\n';
            ++p;
        }
        if (p == end)
            break;
        const NumberToken token = readNumber(p, end);
        const bool wholeItem = token.end != p && (token.end == end || isSeparator(*token.end));
        if (token.status != NumberStatus::Ok || !wholeItem) {
            const char* itemEnd = p;
            while (itemEnd < end && !isSeparator(*itemEnd))
                ++itemEnd;
            const ScanFault fault = token.status == NumberStatus::Overflow && wholeItem
                                        ? ScanFault::NotFinite
                                        : ScanFault::NotANumber;
            return fail(fault, line_, shortenedItem(p, itemEnd));
        }
        p = token.end;
        const double magnitude = std::fabs(token.value);
        if (valuesPerRecord_ == 1 || !havePendingI_) {
            if (magnitude > peakI_)
                peakI_ = magnitude;
            if (valuesPerRecord_ == 2) {
                havePendingI_ = true;
                pendingLine_ = line_;
                continue;
            }
        } else {
            if (magnitude > peakQ_)
                peakQ_ = magnitude;
            havePendingI_ = false;
        }
        if (!tally_.add())
            return ReadStep::Stop;
    }
    if (final && havePendingI_)
        return fail(ScanFault::OddValueCount, pendingLine_, {});
    return ReadStep::Continue;
}

}  // namespace orvenda::input
