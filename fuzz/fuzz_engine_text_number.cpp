// The engine's number reading of text lines: a single-column line by the
// rules of C's atof, and a two-column line split at runs of "\t ,:;". Both
// are compared with the C library's own strtod on the same text.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "engine/text_number.h"
#include "fuzz/fuzz_check.h"

using namespace orvenda::fuzz;

namespace {

bool isCSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// atof on a C string: white space, then the decimal prefix (no inf, nan or
// hexadecimal forms); overflow counts as 0.0.
double referenceAtof(const std::string& cString) {
    std::string_view text(cString.c_str());  // up to the first NUL, as C sees it
    std::size_t start = 0;
    while (start < text.size() && isCSpace(text[start])) ++start;
    std::size_t length = decimalPrefixLength(text.substr(start));
    if (length == 0) return 0.0;
    Reference reference = referenceValue(text.substr(start, length));
    return reference.overflow ? 0.0 : reference.value;
}

// strtok with "\t ,:;": the first two tokens, each by atof.
halvik::SamplePair referenceTwoColumns(std::string_view line) {
    std::string text(line);
    text = text.c_str();
    const char* separators = "\t ,:;";
    halvik::SamplePair pair{0.0, 0.0};
    std::size_t first = text.find_first_not_of(separators);
    if (first == std::string::npos) return pair;
    std::size_t firstEnd = text.find_first_of(separators, first);
    pair.i = referenceAtof(text.substr(first, firstEnd - first));
    if (firstEnd == std::string::npos) return pair;
    std::size_t second = text.find_first_not_of(separators, firstEnd);
    if (second == std::string::npos) return pair;
    std::size_t secondEnd = text.find_first_of(separators, second);
    pair.q =
        referenceAtof(text.substr(second, secondEnd == std::string::npos ? std::string::npos : secondEnd - second));
    return pair;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    // A fresh copy of exactly `size` bytes, so any read past the line is caught.
    std::string line(reinterpret_cast<const char*>(data), size);

    const double single = halvik::parseSingleColumnLine(line);
    FUZZ_CHECK(std::isfinite(single), "single-column value %g", single);
    const double expected = referenceAtof(line);
    FUZZ_CHECK(sameNumber(single, expected), "single-column line \"%s\": %.17g, atof %.17g", printable(line).c_str(),
               single, expected);

    // The prefix reader: where it stops is where the decimal grammar stops.
    const char* begin = line.data();
    halvik::ParsedNumber parsed = halvik::parseDecimalPrefix(begin, begin + line.size());
    const std::size_t length = decimalPrefixLength(line);
    FUZZ_CHECK(parsed.end == begin + length, "prefix of \"%s\": took %td bytes, grammar %zu", printable(line).c_str(),
               parsed.end - begin, length);
    FUZZ_CHECK(std::isfinite(parsed.value), "prefix value %g", parsed.value);

    const halvik::SamplePair pair = halvik::parseTwoColumnLine(line);
    const halvik::SamplePair expectedPair = referenceTwoColumns(line);
    FUZZ_CHECK(sameNumber(pair.i, expectedPair.i) && sameNumber(pair.q, expectedPair.q),
               "two-column line \"%s\": (%.17g, %.17g), strtok and atof (%.17g, %.17g)", printable(line).c_str(),
               pair.i, pair.q, expectedPair.i, expectedPair.q);
    return 0;
}
