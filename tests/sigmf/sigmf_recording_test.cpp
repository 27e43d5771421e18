// The SigMF metadata reader: the datatype grammar, where the samples lie in
// the data file, and every refusal with the file and field it names.
#include <gtest/gtest.h>

#include <variant>

#include "core/sigmf/sigmf_recording.h"
#include "tests/sigmf/sigmf_test_files.h"

namespace orvenda::sigmf {
namespace {

using test::metaText;

TEST(SigmfDatatype, AcceptsTheWholeGrammarAndNothingElse) {
    int accepted = 0;
    for (const char* start : {"r", "c"}) {
        for (const char* width : {"f32", "f64", "i32", "i16", "u32", "u16"}) {
            for (const char* order : {"_le", "_be"}) {
                const std::string name = std::string(start) + width + order;
                std::optional<Datatype> type = parseDatatype(name);
                ASSERT_TRUE(type) << name;
                EXPECT_EQ(type->complex, start[0] == 'c') << name;
                EXPECT_EQ(type->bigEndian, order[1] == 'b') << name;
                EXPECT_EQ(type->sampleBytes(), (start[0] == 'c' ? 2u : 1u) * std::stoul(width + 1) / 8) << name;
                ++accepted;
            }
        }
        for (const char* width : {"i8", "u8"}) {
            std::optional<Datatype> type = parseDatatype(std::string(start) + width);
            ASSERT_TRUE(type);
            EXPECT_EQ(type->bits, 8);
            ++accepted;
        }
    }
    EXPECT_EQ(accepted, 28);
    for (const char* wrong : {"", "c", "cf32", "cf16_le", "ci64_le", "cu64_be", "ci8_le", "cu8_be", "cf8", "CF32_LE",
                              "cf32_LE", "cf32-le", "zi16_le", "cs16_le", "cf32_le ", " cf32_le", "cf32_lee"}) {
        EXPECT_FALSE(parseDatatype(wrong)) << '"' << wrong << '"';
    }
}

TEST(SigmfDatatype, OnlyCf32LeAndCi16LeAreTheEngineLayouts) {
    for (const std::string& name : test::complexDatatypes()) {
        const Datatype type = *parseDatatype(name);
        EXPECT_EQ(isEngineFloatLayout(type), name == "cf32_le") << name;
        EXPECT_EQ(isEngineShortLayout(type), name == "ci16_le") << name;
    }
}

std::variant<Recording, RecordingError> laidOut(const std::string& meta, std::uint64_t dataBytes) {
    auto parsed = parseMetadata(meta, "/rec/x.sigmf-meta");
    if (auto* error = std::get_if<RecordingError>(&parsed)) return *error;
    return layOut(std::get<Metadata>(parsed), "/rec/x.sigmf-meta", dataBytes);
}

struct LayoutCase {
    const char* name;
    std::string meta;
    std::uint64_t dataBytes;
    std::uint64_t samples;
    std::vector<Segment> segments;
};

TEST(SigmfLayout, SegmentsFollowCapturesHeadersAndOffset) {
    const std::vector<LayoutCase> cases = {
        {"no captures: one segment from byte 0", metaText("cu8", "", "[]"), 2000, 1000, {{0, 1000}}},
        // Two captures of cu8 at samples 0 and 500, each after a 4-byte header.
        {"headers before each capture",
         metaText("cu8", "",
                  R"([{"core:sample_start": 0, "core:header_bytes": 4},
                                                     {"core:sample_start": 500, "core:header_bytes": 4}])"),
         2008,
         1000,
         {{4, 500}, {1008, 500}}},
        {"absolute indices under core:offset",
         metaText("ci16_le", R"(, "core:offset": 1000)",
                  R"([{"core:sample_start": 1000},
                                                            {"core:sample_start": 1300, "core:header_bytes": 8}])"),
         4 * 400 + 8,
         400,
         {{0, 300}, {1208, 100}}},
        {"samples before the first capture, trailing bytes",
         metaText("cf32_le", R"(, "core:trailing_bytes": 3)", R"([{"core:sample_start": 2, "core:header_bytes": 5}])"),
         8 * 10 + 5 + 3,
         10,
         {{0, 2}, {21, 8}}},
        {"an empty last capture",
         metaText("ci8", "", R"([{"core:sample_start": 0}, {"core:sample_start": 6}])"),
         12,
         6,
         {{0, 6}}},
    };
    for (const LayoutCase& c : cases) {
        auto result = laidOut(c.meta, c.dataBytes);
        ASSERT_TRUE(std::holds_alternative<Recording>(result))
            << c.name << ": " << std::get<RecordingError>(result).message;
        const Recording& recording = std::get<Recording>(result);
        EXPECT_EQ(recording.sampleCount, c.samples) << c.name;
        ASSERT_EQ(recording.segments.size(), c.segments.size()) << c.name;
        for (std::size_t k = 0; k < c.segments.size(); ++k) {
            EXPECT_EQ(recording.segments[k].byteOffset, c.segments[k].byteOffset) << c.name << " segment " << k;
            EXPECT_EQ(recording.segments[k].sampleCount, c.segments[k].sampleCount) << c.name << " segment " << k;
        }
        EXPECT_EQ(recording.meta.dataPath, "/rec/x.sigmf-data") << c.name;
    }
}

struct RefusalCase {
    const char* name;
    std::string meta;
    std::uint64_t dataBytes;
    std::string message;  // expected within the refusal, after the file's name
};

TEST(SigmfLayout, RefusalsNameTheFileAndTheField) {
    const std::string meta = "/rec/x.sigmf-meta: ";
    const std::string data = "/rec/x.sigmf-data: ";
    const std::vector<RefusalCase> cases = {
        {"invalid JSON", "{\"global\": {", 8, meta + "invalid JSON at byte "},
        {"number beyond double", metaText("cf32_le", R"(, "core:sample_rate": 6e73575)"), 8,
         meta + "invalid JSON: [json.exception.out_of_range.406] number overflow"},
        {"not an object", "[1, 2]", 8, meta + "the top level: is not a JSON object"},
        {"no global", R"({"captures": []})", 8, meta + "global: is missing"},
        {"global not an object", R"({"global": 3})", 8, meta + "global: is not a JSON object"},
        {"datatype missing", R"({"global": {"core:version": "1.2.0"}})", 8, meta + "global core:datatype: is missing"},
        {"datatype not a text", R"({"global": {"core:datatype": 5}})", 8,
         meta + "global core:datatype: is 5, not a text"},
        {"unknown datatype", metaText("ci12_le"), 8,
         meta + "global core:datatype: \"ci12_le\" is not a SigMF datatype"},
        {"real datatype", metaText("rf32_le"), 8, meta + "global core:datatype: \"rf32_le\" holds real samples"},
        {"two channels", metaText("cf32_le", R"(, "core:num_channels": 2)"), 16,
         meta + "global core:num_channels: is 2; only a recording of one channel can be converted"},
        {"channels not a count", metaText("cf32_le", R"(, "core:num_channels": "1")"), 16,
         meta + "global core:num_channels: is \"1\", not a whole number"},
        {"negative rate", metaText("cf32_le", R"(, "core:sample_rate": -5)"), 8,
         meta + "global core:sample_rate: is -5, not a rate above 0 Hz"},
        {"rate as text", metaText("cf32_le", R"(, "core:sample_rate": "1e6")"), 8,
         meta + "global core:sample_rate: is \"1e6\", not a number"},
        {"negative offset", metaText("cf32_le", R"(, "core:offset": -1)"), 8,
         meta + "global core:offset: is -1, not a whole number"},
        {"captures not a list", metaText("cf32_le", "", "{}"), 8, meta + "captures: is not a JSON array"},
        {"capture without start", metaText("cf32_le", "", R"([{"core:header_bytes": 4}])"), 8,
         meta + "captures[0] core:sample_start: is missing"},
        {"fractional header", metaText("cf32_le", "", R"([{"core:sample_start": 0, "core:header_bytes": 4.5}])"), 8,
         meta + "captures[0] core:header_bytes: is 4.5, not a whole number"},
        {"captures out of order", metaText("cf32_le", "", R"([{"core:sample_start": 4}, {"core:sample_start": 2}])"),
         80, meta + "captures[1] core:sample_start: 2 comes before the capture above it (4)"},
        {"capture before the offset", metaText("cf32_le", R"(, "core:offset": 10)", R"([{"core:sample_start": 9}])"), 8,
         meta + "captures[0] core:sample_start: 9 lies before the recording's first sample (core:offset 10)"},
        {"capture beyond the data", metaText("cf32_le", "", R"([{"core:sample_start": 0}, {"core:sample_start": 3}])"),
         16, meta + "captures[1] core:sample_start: 3 lies beyond the 2 samples of /rec/x.sigmf-data"},
        {"dataset outside the folder", metaText("cf32_le", R"(, "core:dataset": "../y.bin")"), 8,
         meta + "global core:dataset: \"../y.bin\" is not a plain file name"},
        {"partial sample", metaText("ci16_le"), 10,
         data + "10 bytes of samples are not a whole number of ci16_le samples of 4 bytes"},
        {"partial sample after headers", metaText("cu8", "", R"([{"core:sample_start": 0, "core:header_bytes": 3}])"),
         8, data + "5 bytes of samples (after 3 header and trailing bytes) are not a whole number of cu8 samples"},
        {"headers beyond the file",
         metaText("cu8", R"(, "core:trailing_bytes": 6)", R"([{"core:sample_start": 0, "core:header_bytes": 4}])"), 8,
         data + "the file holds 8 bytes, fewer than the header and trailing bytes"},
    };
    for (const RefusalCase& c : cases) {
        auto result = laidOut(c.meta, c.dataBytes);
        ASSERT_TRUE(std::holds_alternative<RecordingError>(result)) << c.name;
        EXPECT_NE(std::get<RecordingError>(result).message.find(c.message), std::string::npos)
            << c.name << ": " << std::get<RecordingError>(result).message;
    }
}

TEST(SigmfFiles, EitherFileNamesTheRecording) {
    EXPECT_EQ(metaPathOf("a/b.sigmf-data"), "a/b.sigmf-meta");
    EXPECT_EQ(metaPathOf("a/b.sigmf-meta"), "a/b.sigmf-meta");
    EXPECT_TRUE(isSigmfFileName("x.sigmf-data"));
    EXPECT_FALSE(isSigmfFileName("x.sigmf"));

    test::Scratch scratch;
    auto missingMeta = openRecording(scratch.file("none.sigmf-data"));
    ASSERT_TRUE(std::holds_alternative<RecordingError>(missingMeta));
    EXPECT_NE(std::get<RecordingError>(missingMeta).message.find("none.sigmf-meta: cannot read the meta file"),
              std::string::npos);
    test::writeBytes(scratch.file("r.sigmf-meta"), metaText("cf32_le"));
    auto missingData = openRecording(scratch.file("r.sigmf-meta"));
    ASSERT_TRUE(std::holds_alternative<RecordingError>(missingData));
    EXPECT_NE(std::get<RecordingError>(missingData).message.find("r.sigmf-data: the data file of"), std::string::npos);
    test::writeBytes(scratch.file("r.sigmf-data"), std::string(24, '\0'));
    auto opened = openRecording(scratch.file("r.sigmf-data"));
    ASSERT_TRUE(std::holds_alternative<Recording>(opened));
    EXPECT_EQ(std::get<Recording>(opened).sampleCount, 3u);
}

}  // namespace
}  // namespace orvenda::sigmf
