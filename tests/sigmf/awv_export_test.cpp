// Waveform files written back out: the values and marker columns of each
// format, the SigMF metadata, and refused files that leave nothing behind.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <bit>
#include <charconv>
#include <cstring>

#include "core/export/awv_export.h"
#include "tests/cli/awv_test_files.h"
#include "tests/sigmf/sigmf_test_files.h"

namespace orvenda::exporting {
namespace {

using cli::test::awvFile;
using cli::test::kFullHeader;
using cli::test::Sample;
using sigmf::test::readBytes;
using sigmf::test::Scratch;
using sigmf::test::writeBytes;

// Marker 1 high over 1..2 and from 5 to the end, marker 2 over 2..4.
const std::vector<Sample> kSamples = {
    {1, 16383, false, false}, {8192, 8191, true, false}, {16383, 2, true, true},    {4096, 12288, false, true},
    {100, 200, false, true},  {9000, 7000, true, false}, {8193, 8192, true, false},
};

std::vector<float> floatsOf(const std::string& bytes) {
    std::vector<float> values(bytes.size() / 4);
    std::memcpy(values.data(), bytes.data(), values.size() * 4);
    return values;
}

TEST(AwvExport, TargetsFollowTheOutputName) {
    struct Case {
        const char* output;
        std::optional<ExportFormat> format;
        std::vector<std::string> files;
    };
    const std::vector<Case> cases = {
        {"a/x.csv", ExportFormat::Csv, {"a/x.csv"}},
        {"x.CSV", ExportFormat::Csv, {"x.CSV"}},
        {"x.cf32", ExportFormat::RawFloat, {"x.cf32"}},
        {"x.f32", ExportFormat::RawFloat, {"x.f32"}},
        {"a/x.sigmf-meta", ExportFormat::Sigmf, {"a/x.sigmf-data", "a/x.sigmf-meta"}},
        {"x.sigmf-data", ExportFormat::Sigmf, {"x.sigmf-data", "x.sigmf-meta"}},
        {"a/x", ExportFormat::Sigmf, {"a/x.sigmf-data", "a/x.sigmf-meta"}},
        {"x.awv", std::nullopt, {}},
        {"x.bin", std::nullopt, {}},
        {"a/", std::nullopt, {}},
    };
    for (const Case& c : cases) {
        std::optional<ExportTarget> target = exportTargetOf(c.output);
        ASSERT_EQ(target.has_value(), c.format.has_value()) << c.output;
        if (!target) continue;
        EXPECT_EQ(target->format, *c.format) << c.output;
        EXPECT_EQ(target->files, c.files) << c.output;
    }
}

TEST(AwvExport, CsvAndFloatPairsCarryTheDecodedCodes) {
    Scratch scratch;
    writeBytes(scratch.file("w.awv"), awvFile(kFullHeader, kSamples));

    ASSERT_FALSE(exportAwv(scratch.file("w.awv"), *exportTargetOf(scratch.file("w.csv"))).error);
    std::string expected;
    for (const Sample& s : kSamples) {
        // Shortest texts that read back as the same floats.
        char i[32], q[32];
        *std::to_chars(i, i + 31, static_cast<float>((s.codeA - 8192.0) / 8191.0)).ptr = '\0';
        *std::to_chars(q, q + 31, static_cast<float>((s.codeB - 8192.0) / 8191.0)).ptr = '\0';
        expected += std::string(i) + "," + q + "," + (s.marker1 ? "1" : "0") + "," + (s.marker2 ? "1" : "0") + "\n";
    }
    EXPECT_EQ(readBytes(scratch.file("w.csv")), expected);
    EXPECT_NE(expected.find("-1,1,0,0\n"), std::string::npos);  // codes 1 and 16383 are full scale

    ASSERT_FALSE(exportAwv(scratch.file("w.awv"), *exportTargetOf(scratch.file("w.f32"))).error);
    const std::vector<float> pairs = floatsOf(readBytes(scratch.file("w.f32")));
    ASSERT_EQ(pairs.size(), 2 * kSamples.size());
    for (std::size_t k = 0; k < kSamples.size(); ++k) {
        EXPECT_EQ(pairs[2 * k], static_cast<float>((kSamples[k].codeA - 8192.0) / 8191.0)) << k;
        EXPECT_EQ(pairs[2 * k + 1], static_cast<float>((kSamples[k].codeB - 8192.0) / 8191.0)) << k;
    }
}

TEST(AwvExport, SigmfHoldsTheSettingsAndTheMarkerRanges) {
    Scratch scratch;
    writeBytes(scratch.file("w.awv"), awvFile(kFullHeader, kSamples));
    ExportResult result = exportAwv(scratch.file("w.awv"), *exportTargetOf(scratch.file("out")));
    ASSERT_FALSE(result.error) << *result.error;
    EXPECT_EQ(result.sampleCount, kSamples.size());
    EXPECT_EQ(readBytes(scratch.file("out.sigmf-data")), readBytes([&] {
                  exportAwv(scratch.file("w.awv"), *exportTargetOf(scratch.file("same.cf32")));
                  return scratch.file("same.cf32");
              }()));

    const nlohmann::json meta = nlohmann::json::parse(readBytes(scratch.file("out.sigmf-meta")));
    const nlohmann::json& global = meta.at("global");
    EXPECT_EQ(global.at("core:datatype"), "cf32_le");
    EXPECT_EQ(global.at("core:sample_rate"), 100e6);
    EXPECT_EQ(global.at("orvenda:iq_filter"), "FLT50M");
    EXPECT_EQ(global.at("orvenda:iq_output"), "VAR");
    EXPECT_EQ(global.at("orvenda:iq_gain"), nlohmann::json({1.5, 0.2}));
    EXPECT_EQ(global.at("orvenda:iq_offset"), nlohmann::json({-0.05, 0.0}));
    EXPECT_EQ(global.at("orvenda:start_trigger").at("source"), "LINK");
    EXPECT_EQ(global.at("orvenda:output_sequence").at("loops"), 12);
    EXPECT_EQ(global.at("orvenda:marker1").at("params"), nlohmann::json({0, 2, 2, 1}));
    EXPECT_EQ(global.at("orvenda:marker_mode"), "WFM");
    EXPECT_EQ(global.at("orvenda:date"), "2026/12/08 15:09:40");
    EXPECT_EQ(global.at("core:extensions").at(0).at("name"), "orvenda");
    EXPECT_EQ(meta.at("captures"), nlohmann::json::parse(R"([{"core:sample_start": 0}])"));

    const nlohmann::json expected = nlohmann::json::parse(R"([
        {"core:sample_start": 1, "core:sample_count": 2, "core:label": "marker1"},
        {"core:sample_start": 2, "core:sample_count": 3, "core:label": "marker2"},
        {"core:sample_start": 5, "core:sample_count": 2, "core:label": "marker1"}])");
    EXPECT_EQ(meta.at("annotations"), expected);
    EXPECT_EQ(result.markerRanges, 3u);
}

TEST(AwvExport, AFileWithoutMarkersOrSamplesStillGivesValidMetadata) {
    Scratch scratch;
    writeBytes(scratch.file("w.awv"), awvFile("{SAMPLINGFREQ:200000000.000000}\n", std::vector<Sample>{}));
    ASSERT_FALSE(exportAwv(scratch.file("w.awv"), *exportTargetOf(scratch.file("o.sigmf-meta"))).error);
    const nlohmann::json meta = nlohmann::json::parse(readBytes(scratch.file("o.sigmf-meta")));
    EXPECT_TRUE(meta.at("annotations").empty());
    EXPECT_FALSE(meta.at("global").contains("orvenda:iq_filter"));
    EXPECT_EQ(readBytes(scratch.file("o.sigmf-data")), "");
}

TEST(AwvExport, RefusedFilesNameTheByteAndLeaveNothing) {
    const std::string good = awvFile(kFullHeader, kSamples);
    const std::size_t block = good.find("{WAVEDATA:");
    std::string strayBits = good;
    strayBits[strayBits.find(';', block) + 1 + 8 * 3 + 6] = '\x01';  // word B of sample 3, bit 16
    struct Case {
        const char* name;
        std::string bytes;
        std::string message;
    };
    const std::vector<Case> cases = {
        {"truncated in the block", good.substr(0, good.size() - 20),
         "w.awv: byte " + std::to_string(good.size() - 20) + ": the file ends inside the sample block"},
        {"no closing brace", good.substr(0, good.size() - 1), "the closing '}' is missing"},
        {"unknown header key", "{FOO:1}\n" + good, "w.awv: byte 0: unknown header key \"FOO\""},
        {"empty", "", "w.awv: byte 0: the file is empty"},
        {"stray bits", strayBits,
         "w.awv: byte " + std::to_string(strayBits.find(';', block) + 1 + 8 * 3 + 4) +
             ": sample 3 has bits set above its code and marker bits"},
    };
    for (const Case& c : cases) {
        for (const char* output : {"o.sigmf-meta", "o.csv", "o.cf32"}) {
            Scratch scratch;
            writeBytes(scratch.file("w.awv"), c.bytes);
            ExportResult result = exportAwv(scratch.file("w.awv"), *exportTargetOf(scratch.file(output)));
            ASSERT_TRUE(result.error) << c.name << " " << output;
            EXPECT_NE(result.error->find(c.message), std::string::npos) << c.name << ": " << *result.error;
            EXPECT_EQ(scratch.names(), std::vector<std::string>{"w.awv"}) << c.name << " " << output;
        }
    }
}

TEST(AwvExport, AnUnwritableFolderIsNamed) {
    Scratch scratch;
    writeBytes(scratch.file("w.awv"), awvFile(kFullHeader, kSamples));
    ExportResult result = exportAwv(scratch.file("w.awv"), *exportTargetOf(scratch.file("none/o.csv")));
    ASSERT_TRUE(result.error);
    EXPECT_NE(result.error->find("none/o.csv: cannot create a temporary file"), std::string::npos) << *result.error;
}

}  // namespace
}  // namespace orvenda::exporting
