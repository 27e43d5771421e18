// The marker data file reader (GraphLib), over bytes in memory. Any bytes
// give points or a rejection naming the file; the points must equal a slow
// reading of the same bytes, never exceed the requested number, and survive
// being written in the marker file form and read back.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

#include <fuzzer/FuzzedDataProvider.h>

#include "core/markers/graph_lib.h"
#include "fuzz/fuzz_check.h"

using namespace orvenda::fuzz;
namespace markers = orvenda::markers;

namespace {

constexpr std::size_t kMaxItemLength = 4096;

struct Expected {
    bool rejected = false;
    std::vector<MarkerPoint> points;
    bool dropped = false;
};

bool isSeparator(char c) { return c == ',' || c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Items separated by runs of blanks, tabs and line ends holding at most one
// comma; a comma with no item before it is an empty item (rejected).
bool referenceItems(std::string_view bytes, std::vector<std::string>& items) {
    bool itemSinceComma = false;
    std::size_t p = 0;
    while (p < bytes.size()) {
        const char c = bytes[p];
        if (c == ',') {
            if (!itemSinceComma) return false;
            itemSinceComma = false;
            ++p;
        } else if (isSeparator(c)) {
            ++p;
        } else {
            std::size_t end = p;
            while (end < bytes.size() && !isSeparator(bytes[end])) ++end;
            std::string item(bytes.substr(p, end - p));
            // A byte-order mark at the start of the file.
            if (items.empty() && item.starts_with("\xEF\xBB\xBF")) {
                item.erase(0, 3);
                if (item.empty()) {
                    p = end;
                    continue;
                }
            }
            items.push_back(item);
            itemSinceComma = true;
            p = end;
        }
    }
    return true;
}

// Nearest int32 (halves to even); nothing when not a number or out of range.
bool referenceInteger(const std::string& item, int32_t& value) {
    std::string_view text = item;
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    if (item.size() > kMaxItemLength || text.empty() || decimalPrefixLength(text) != text.size()) return false;
    const Reference reference = referenceValue(text);
    if (reference.overflow) return false;
    const double rounded = std::nearbyint(reference.value);  // the default mode rounds halves to even
    if (!(rounded >= -2147483648.0 && rounded <= 2147483647.0)) return false;
    value = static_cast<int32_t>(rounded);
    return true;
}

Expected referenceRead(std::string_view bytes, int maxPoints) {
    Expected expected;
    std::vector<std::string> items;
    // The items are taken in order; reading stops after the first pair beyond
    // the limit, so a fault after it does not count.
    const bool tokensOk = referenceItems(bytes, items);
    const std::size_t limit = static_cast<std::size_t>(std::max(maxPoints, 0));
    std::size_t k = 0;
    for (; k + 1 < items.size(); k += 2) {
        int32_t pos = 0;
        int32_t value = 0;
        if (!referenceInteger(items[k], pos) || !referenceInteger(items[k + 1], value)) {
            expected.rejected = true;
            return expected;
        }
        if (expected.points.size() == limit) {
            expected.dropped = true;
            return expected;
        }
        expected.points.push_back(MarkerPoint{pos, value});
    }
    // What is left: an empty item, a position without its value, or a bad item.
    if (!tokensOk || k < items.size()) expected.rejected = true;
    return expected;
}

bool samePoints(const std::vector<MarkerPoint>& a, const std::vector<MarkerPoint>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](const MarkerPoint& x, const MarkerPoint& y) { return x.Pos == y.Pos && x.Value == y.Value; });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    FuzzedDataProvider provider(data, size);
    const int maxPoints =
        provider.ConsumeBool() ? markers::kMarkerFileMaxPoints : provider.ConsumeIntegralInRange<int>(-1, 12);
    const std::string bytes = provider.ConsumeRemainingBytesAsString();

    const markers::MarkerFileReadResult result = markers::readMarkerBytes(bytes, "fuzz.dat", maxPoints);
    const Expected expected = referenceRead(bytes, maxPoints);
    if (const auto* error = std::get_if<markers::MarkerFileError>(&result)) {
        FUZZ_CHECK(expected.rejected, "rejected, a slow reading takes %zu points: %s", expected.points.size(),
                   error->message.c_str());
        FUZZ_CHECK(error->message.find("\"fuzz.dat\"") != std::string::npos, "message names no file: %s",
                   error->message.c_str());
        return 0;
    }
    const auto& contents = std::get<markers::MarkerFileContents>(result);
    FUZZ_CHECK(!expected.rejected, "%zu points taken from a file a slow reading rejects", contents.points.size());
    FUZZ_CHECK(samePoints(contents.points, expected.points) && contents.pointsDropped == expected.dropped,
               "%zu points (dropped %d), a slow reading gives %zu (%d)", contents.points.size(), contents.pointsDropped,
               expected.points.size(), expected.dropped);
    const std::size_t limit = static_cast<std::size_t>(std::max(maxPoints, 0));
    FUZZ_CHECK(contents.points.size() <= limit && (!contents.pointsDropped || contents.points.size() == limit),
               "%zu points for a limit of %d", contents.points.size(), maxPoints);
    // Each point takes at least "d d" and a separator.
    FUZZ_CHECK(contents.points.size() * 4 <= bytes.size() + 1, "%zu points in %zu bytes", contents.points.size(),
               bytes.size());

    // The written form reads back to the same points.
    const std::string written = markers::markerFileText(contents.points);
    const auto again = markers::readMarkerBytes(written, "written.dat", maxPoints);
    const auto* back = std::get_if<markers::MarkerFileContents>(&again);
    FUZZ_CHECK(back != nullptr && samePoints(back->points, contents.points) && !back->pointsDropped,
               "the written form of %zu points does not read back", contents.points.size());
    return 0;
}
