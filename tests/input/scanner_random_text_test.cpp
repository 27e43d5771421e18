// Free-format text of random numbers and separator runs, read in many chunk
// sizes, against a plain reference: the strict number conversion applied to
// each item. Catches faults at chunk and 64-byte block edges, with long items
// and line counting.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "core/input/scanner.h"
#include "core/settings/text_conversions.h"

namespace orvenda::input {
namespace {

struct RandomText {
    std::string bytes;
    std::vector<std::string> items;
    std::vector<int64_t> itemLines;  // 1-based line of each item
};

std::string randomNumber(std::mt19937& random) {
    std::uniform_int_distribution<int> form(0, 9);
    std::uniform_int_distribution<int> digit(0, 9);
    std::uniform_real_distribution<double> unit(-1.0, 1.0);
    char text[64];
    switch (form(random)) {
    case 0: return std::to_string(digit(random) * 1000 - 4000);
    case 1: std::snprintf(text, sizeof text, "%.3e", unit(random) * 1e5); return text;
    case 2: {  // longer than a 64-byte block
        std::string item = random() % 2 ? "-0." : "+";
        item.append(60 + random() % 80, '0');
        item += "17";
        return item;
    }
    case 3: std::snprintf(text, sizeof text, "%.17g", unit(random)); return text;
    default: std::snprintf(text, sizeof text, "%.6f", unit(random)); return text;
    }
}

RandomText randomText(std::mt19937& random, int itemCount) {
    const char* separators[] = {" ", "\t", ",", "\n", "\r\n", " , ", "\n\n", "   \t"};
    std::uniform_int_distribution<int> pick(0, 7);
    RandomText text;
    int64_t line = 1;
    const auto separate = [&] {
        const std::string separator = separators[pick(random)];
        line += std::count(separator.begin(), separator.end(), '\n');
        text.bytes += separator;
    };
    if (random() % 2) separate();
    for (int k = 0; k < itemCount; ++k) {
        text.items.push_back(randomNumber(random));
        text.itemLines.push_back(line);
        text.bytes += text.items.back();
        if (k + 1 < itemCount || random() % 2) separate();
    }
    return text;
}

TEST(RandomFreeFormatText, MatchesTheItemByItemReference) {
    std::mt19937 random(7);
    for (int round = 0; round < 300; ++round) {
        const int pairs = static_cast<int>(random() % 120);
        const RandomText text = randomText(random, 2 * pairs);
        double peakI = 0.0;
        double peakQ = 0.0;
        double peakAll = 0.0;
        for (std::size_t k = 0; k < text.items.size(); ++k) {
            const double value = std::fabs(settings::strictNumber(text.items[k]).value());
            (k % 2 == 0 ? peakI : peakQ) = std::max(k % 2 == 0 ? peakI : peakQ, value);
            peakAll = std::max(peakAll, value);
        }
        for (std::size_t chunk :
             {kDefaultChunkBytes, std::size_t{7}, std::size_t{64}, std::size_t{65}, std::size_t{100}}) {
            SCOPED_TRACE("round " + std::to_string(round) + " chunk " + std::to_string(chunk));
            ScanOptions options;
            options.chunkBytes = chunk;
            const ScanOutcome iq = scanBytes(text.bytes, InputLayout::FreeFormatIQText, options);
            ASSERT_TRUE(iq.ok()) << static_cast<int>(iq.error->fault) << " at " << iq.error->position;
            EXPECT_EQ(iq.result.count, pairs);
            EXPECT_EQ(iq.result.peakI, peakI);
            EXPECT_EQ(iq.result.peakQ, peakQ);
            const ScanOutcome single = scanBytes(text.bytes, InputLayout::SingleChannelText, options);
            ASSERT_TRUE(single.ok());
            EXPECT_EQ(single.result.count, 2 * pairs);
            EXPECT_EQ(single.result.peakI, peakAll);
        }
    }
}

TEST(RandomFreeFormatText, BadItemIsReportedOnItsLine) {
    std::mt19937 random(11);
    for (int round = 0; round < 300; ++round) {
        RandomText text = randomText(random, 1 + static_cast<int>(random() % 200));
        // Spoil one item: a letter after its last character.
        const std::size_t bad = random() % text.items.size();
        std::size_t at = 0;
        for (std::size_t k = 0; k <= bad; ++k)
            at = text.bytes.find(text.items[k], k == 0 ? 0 : at + text.items[k - 1].size());
        text.bytes.insert(text.bytes.begin() + static_cast<std::ptrdiff_t>(at + text.items[bad].size()), 'x');
        for (std::size_t chunk : {kDefaultChunkBytes, std::size_t{5}, std::size_t{64}, std::size_t{77}}) {
            SCOPED_TRACE("round " + std::to_string(round) + " chunk " + std::to_string(chunk));
            ScanOptions options;
            options.chunkBytes = chunk;
            const ScanOutcome outcome = scanBytes(text.bytes, InputLayout::SingleChannelText, options);
            ASSERT_FALSE(outcome.ok());
            EXPECT_EQ(outcome.error->fault, ScanFault::NotANumber);
            EXPECT_EQ(outcome.error->position, text.itemLines[bad]);
        }
    }
}

}  // namespace
}  // namespace orvenda::input
