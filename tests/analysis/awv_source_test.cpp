// An ".awv" file as a source: what the library wrote decodes back to its
// codes and marker bits exactly, in any range; a truncated or corrupt file
// is refused with the byte offset of the fault.
#include <filesystem>
#include <random>

#include <gtest/gtest.h>

#include "core/analysis/awv_source.h"
#include "core/analysis/signal_analysis.h"
#include "engine/memory_waveform.h"
#include "tests/engine/engine_test_support.h"

namespace orvenda::analysis {
namespace {

using halvik::test::expectedCode;
using halvik::test::readFile;
using halvik::test::ScratchDir;
using halvik::test::writeFile;

struct Written {
    std::vector<float> iq;
    std::vector<int16_t> marker1, marker2;
    double peak = 0.0;
    double gain = 0.8;
};

Written writeWaveform(const std::string& path, int32_t count) {
    Written w;
    std::mt19937 random(3);
    std::uniform_real_distribution<float> value(-2.5f, 2.5f);
    for (int32_t k = 0; k < count; ++k) {
        w.iq.push_back(value(random));
        w.iq.push_back(value(random));
        w.marker1.push_back(static_cast<int16_t>((k / 7) % 2));
        w.marker2.push_back(static_cast<int16_t>(k % 1000 == 999));
    }
    for (float v : w.iq) w.peak = std::max(w.peak, std::fabs(static_cast<double>(v)));
    halvik::MemoryWaveformSettings settings;
    settings.fs = 25e6;
    settings.awgGain = w.gain;
    settings.markerMode = 64;
    halvik::MemoryWaveform data{w.iq.data(), w.marker1.data(), w.marker2.data(), count};
    EXPECT_EQ(halvik::writeMemoryWaveform(data, settings, path), 0);
    return w;
}

std::unique_ptr<AwvSampleSource> openOk(const std::string& path) {
    AwvSampleSource::OpenResult result = AwvSampleSource::open(path);
    if (auto* error = std::get_if<halvik::AwvError>(&result)) {
        ADD_FAILURE() << error->describe();
        return nullptr;
    }
    return std::move(std::get<std::unique_ptr<AwvSampleSource>>(result));
}

TEST(AwvSource, DecodesTheLibrarysCodesAndMarkersExactly) {
    ScratchDir dir;
    const std::string path = dir.file("w.awv");
    const int32_t count = 200'000;
    Written w = writeWaveform(path, count);
    auto source = openOk(path);
    ASSERT_NE(source, nullptr);
    EXPECT_EQ(source->size(), static_cast<std::uint64_t>(count));
    EXPECT_DOUBLE_EQ(source->samplingFrequency(), 25e6);
    EXPECT_TRUE(source->isComplex());
    EXPECT_TRUE(source->hasMarkers());
    EXPECT_FALSE(source->hasExactValues());
    EXPECT_EQ(awvHeaderLines(source->summary()).back(), "SAMPLINGFREQ: 25000000.000000");

    auto cursor = source->openCursor();
    SampleBlock block;
    const std::pair<std::uint64_t, std::size_t> ranges[] = {{0, 200'000}, {150'000, 3}, {7, 70'000}, {199'999, 1}};
    for (auto [first, length] : ranges) {
        ASSERT_TRUE(cursor->read(first, length, block)) << cursor->error();
        ASSERT_EQ(block.size(), length);
        EXPECT_TRUE(block.exactI.empty());
        for (std::size_t k = 0; k < length; ++k) {
            const std::size_t n = first + k;
            ASSERT_EQ(block.i[k], static_cast<int>(expectedCode(w.iq[2 * n], w.peak, w.gain)) - 8192) << n;
            ASSERT_EQ(block.q[k], static_cast<int>(expectedCode(w.iq[2 * n + 1], w.peak, w.gain)) - 8192) << n;
            ASSERT_EQ(block.markers[k], (w.marker1[n] ? kMarker1 : 0) | (w.marker2[n] ? kMarker2 : 0)) << n;
        }
    }
    // The levels follow from the codes the file's rules give.
    double maxPower = 0.0, sumPower = 0.0;
    for (int32_t n = 0; n < count; ++n) {
        const double a = static_cast<double>(expectedCode(w.iq[2 * n], w.peak, w.gain)) - 8192.0;
        const double b = static_cast<double>(expectedCode(w.iq[2 * n + 1], w.peak, w.gain)) - 8192.0;
        maxPower = std::max(maxPower, a * a + b * b);
        sumPower += a * a + b * b;
    }
    AnalysisResult result = analyse(*source, AnalysisSettings{});
    ASSERT_TRUE(result.status.done());
    EXPECT_FALSE(result.levels.sqnrDb.has_value());
    EXPECT_EQ(result.levels.fullScaleSamples, 0u);  // gain 0.8 keeps every code off full scale
    EXPECT_NEAR(result.levels.peakDbfs, 10 * std::log10(maxPower / (8191.0 * 8191.0)), 1e-9);
    EXPECT_NEAR(result.levels.paprDb, 10 * std::log10(maxPower / (sumPower / count)), 1e-9);
}

struct Damage {
    std::string name;
    std::function<std::string(const std::string&)> apply;
    std::function<std::uint64_t(const std::string&)> offset;  // of the fault, from the intact file
};

TEST(AwvSource, RefusesTruncatedAndCorruptFilesNamingTheOffset) {
    ScratchDir dir;
    const std::string path = dir.file("w.awv");
    writeWaveform(path, 1000);
    const std::string intact = readFile(path);
    const std::size_t data = intact.find("{WAVEDATA:");
    const Damage damages[] = {
        {"cut inside the samples", [](const std::string& f) { return f.substr(0, f.size() - 101); },
         [](const std::string& f) { return f.size() - 101; }},
        {"closing brace missing", [](const std::string& f) { return f.substr(0, f.size() - 1); },
         [](const std::string& f) { return f.size() - 1; }},
        {"broken header",
         [](const std::string& f) {
             std::string g = f;
             g[g.find("SAMPLINGFREQ") + 14] = 'x';
             return g;
         },
         [](const std::string& f) { return f.find("SAMPLINGFREQ") + 13; }},
        {"bytes after the end", [](const std::string& f) { return f + "zz"; },
         [](const std::string& f) { return f.size(); }},
    };
    for (const Damage& d : damages) {
        writeFile(path, d.apply(intact));
        AwvSampleSource::OpenResult result = AwvSampleSource::open(path);
        const auto* error = std::get_if<halvik::AwvError>(&result);
        ASSERT_NE(error, nullptr) << d.name;
        EXPECT_TRUE(error->located) << d.name;
        EXPECT_EQ(error->offset, d.offset(intact)) << d.name << ": " << error->describe();
        EXPECT_EQ(error->describe().rfind("byte " + std::to_string(error->offset) + ": ", 0), 0u);
    }
    EXPECT_GT(data, 0u);
    const auto missing = AwvSampleSource::open(dir.file("none.awv"));
    EXPECT_FALSE(std::get<halvik::AwvError>(missing).located);
}

TEST(AwvSource, FileShrunkAfterTheCheckFailsTheRead) {
    ScratchDir dir;
    const std::string path = dir.file("w.awv");
    writeWaveform(path, 5000);
    auto source = openOk(path);
    ASSERT_NE(source, nullptr);
    std::filesystem::resize_file(path, std::filesystem::file_size(path) / 2);
    AnalysisResult result = analyse(*source, AnalysisSettings{});
    EXPECT_EQ(result.status.outcome, Outcome::Failed);
    EXPECT_NE(result.status.error.find("changed after it was checked"), std::string::npos) << result.status.error;
}

}  // namespace
}  // namespace orvenda::analysis
