#include "core/input/csv_reader.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "core/settings/number_token.h"

namespace orvenda::input {

using settings::NumberStatus;
using settings::NumberToken;
using settings::readNumber;
namespace {

inline const char* skipBlanks(const char* p, const char* end) {
    while (p < end && (*p == ' ' || *p == '\t')) ++p;
    return p;
}

inline const char* find(const char* p, const char* end, char c) {
    const void* hit = std::memchr(p, c, static_cast<std::size_t>(end - p));
    return hit != nullptr ? static_cast<const char*>(hit) : end;
}

}  // namespace

const char* CsvReader::completeEnd(const char* begin, const char* end) {
    for (const char* p = end; p != begin; --p)
        if (p[-1] == '\n') return p;
    return begin;
}

bool CsvReader::readQuick(const char* p, const char* end, Fields& fields) {
    const NumberToken i = readNumber(skipBlanks(p, end), end);
    if (i.status != NumberStatus::Ok) return false;
    p = skipBlanks(i.end, end);
    if (p == end || *p != ',') return false;
    const NumberToken q = readNumber(skipBlanks(p + 1, end), end);
    if (q.status != NumberStatus::Ok) return false;
    p = skipBlanks(q.end, end);
    if (p == end) {
        fields.next = end;
    } else if (*p == '\n') {
        fields.next = p + 1;
    } else if (*p == '\r' && (p + 1 == end || p[1] == '\n')) {
        fields.next = p + 1 == end ? end : p + 2;
    } else if (*p == ',') {
        const char* lineEnd = find(p, end, '\n');
        fields.next = lineEnd == end ? end : lineEnd + 1;
    } else {
        return false;
    }
    fields.i = i.value;
    fields.q = q.value;
    return true;
}

bool CsvReader::readCarefully(const char* p, const char* end, Fields& fields) {
    const char* lineEnd = find(p, end, '\n');
    fields.next = lineEnd == end ? end : lineEnd + 1;
    if (lineEnd > p && lineEnd[-1] == '\r') --lineEnd;
    const char* comma1 = find(p, lineEnd, ',');
    if (comma1 == lineEnd) {
        error_ = ScanError{ScanFault::TooFewFields, line_, shortenedItem(p, lineEnd)};
        return false;
    }
    const char* comma2 = find(comma1 + 1, lineEnd, ',');
    const auto field = [&](const char* first, const char* last, double& value) {
        const char* start = skipBlanks(first, last);
        const char* stop = last;
        while (stop > start && (stop[-1] == ' ' || stop[-1] == '\t')) --stop;
        const NumberToken token = readNumber(start, stop);
        if (token.status == NumberStatus::Ok && token.end == stop && stop != start) {
            value = token.value;
            return true;
        }
        const bool overflow = token.status == NumberStatus::Overflow && token.end == stop;
        error_ = ScanError{overflow ? ScanFault::NotFinite : ScanFault::NotANumber, line_, shortenedItem(first, last)};
        return false;
    };
    return field(p, comma1, fields.i) && field(comma1 + 1, comma2, fields.q);
}

ReadStep CsvReader::consume(const char* begin, const char* end, bool /*final*/) {
    const char* p = begin;
    Fields fields{};
    while (p < end) {
        if (!readQuick(p, end, fields) && !readCarefully(p, end, fields)) return ReadStep::Failed;
        p = fields.next;
        const double magnitudeI = std::fabs(fields.i);
        const double magnitudeQ = std::fabs(fields.q);
        if (magnitudeI > peakI_) peakI_ = magnitudeI;
        if (magnitudeQ > peakQ_) peakQ_ = magnitudeQ;
        if (!tally_.add()) return ReadStep::Stop;
        ++line_;
    }
    return ReadStep::Continue;
}

bool CsvReader::absorb(const CsvReader& piece, const char* /*begin*/, const char* /*end*/) {
    const int64_t records = piece.tally_.count();
    if (records > tally_.room()) return false;
    peakI_ = std::max(peakI_, piece.peakI_);
    peakQ_ = std::max(peakQ_, piece.peakQ_);
    line_ += records;  // one record per line
    tally_.addWithinLimit(records);
    return true;
}

}  // namespace orvenda::input
