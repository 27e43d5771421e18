// orvenda-cli with SigMF recordings and "export", run as a separate process:
// a recording of every datatype converts to the bytes of the equivalent raw
// conversion, the recording's rate and --fs, refused recordings, and
// export followed by convert giving back every code within 1 and every
// marker bit exactly.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <cmath>
#include <filesystem>
#include <sstream>

#include "engine/awv_reader.h"
#include "tests/cli/program_run.h"
#include "tests/sigmf/sigmf_test_files.h"

namespace orvenda::cli::test {
namespace {

namespace fs = std::filesystem;
using sigmf::test::encodeSamples;
using sigmf::test::metaText;

ProgramRun cli(const ScratchFolder& scratch, const std::vector<std::string>& args) {
    return runProgram(ORVENDA_CLI_PROGRAM, args, scratch);
}

// Files of the folder other than the captured output streams.
std::vector<std::string> filesIn(const ScratchFolder& scratch) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(scratch.path())) {
        const std::string name = entry.path().filename().string();
        if (name != ".stdout" && name != ".stderr") names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string headerLine(const std::string& awv, const std::string& key) {
    const std::size_t at = awv.find("{" + key + ":");
    return at == std::string::npos ? std::string() : awv.substr(at, awv.find('}', at) - at + 1);
}

TEST(CliSigmf, EveryDatatypeConvertsToTheBytesOfTheRawConversion) {
    bool useDataName = false;
    for (const std::string& datatype : sigmf::test::complexDatatypes()) {
        ScratchFolder scratch;
        const std::size_t samples = 1001;  // rounded up to 1004 by both loads
        sigmf::test::EncodedSamples encoded = encodeSamples(datatype, samples, 11);
        const std::size_t sampleBytes = encoded.data.size() / samples;
        writeFile(scratch.file("rec.sigmf-data"),
                  "HDR!" + encoded.data.substr(0, 600 * sampleBytes) + "hd" + encoded.data.substr(600 * sampleBytes));
        writeFile(scratch.file("rec.sigmf-meta"),
                  metaText(datatype, R"(, "core:sample_rate": 30720000, "core:offset": 7)",
                           R"([{"core:sample_start": 7, "core:header_bytes": 4},
                               {"core:sample_start": 607, "core:header_bytes": 2}])"));
        const std::string raw = scratch.file(encoded.shortLayout ? "raw.MNT" : "raw.TXD");
        writeFile(raw, encoded.engineBytes);

        const std::string input = scratch.file(useDataName ? "rec.sigmf-data" : "rec.sigmf-meta");
        useDataName = !useDataName;
        ProgramRun fromRecording =
            cli(scratch, {"convert", input, "-o", scratch.file("rec.awv"), "--iq-filter", "50M"});
        ASSERT_EQ(fromRecording.exitCode, 0) << datatype << ": " << fromRecording.err;
        EXPECT_NE(fromRecording.err.find("rec.sigmf-data: Data Size is not nultiple of 4."), std::string::npos)
            << datatype << ": " << fromRecording.err;
        ProgramRun fromRaw =
            cli(scratch, {"convert", raw, "-o", scratch.file("raw.awv"), "--iq-filter", "50M", "--fs", "30.72"});
        ASSERT_EQ(fromRaw.exitCode, 0) << datatype << ": " << fromRaw.err;
        const std::string converted = readFile(scratch.file("rec.awv"));
        EXPECT_TRUE(withoutDateLine(converted) == withoutDateLine(readFile(scratch.file("raw.awv")))) << datatype;
        EXPECT_EQ(headerLine(converted, "SAMPLINGFREQ"), "{SAMPLINGFREQ:30720000.000000}") << datatype;
        // No temporary file is left beside the output.
        EXPECT_EQ(filesIn(scratch), (std::vector<std::string>{fs::path(raw).filename().string(), "raw.awv", "rec.awv",
                                                              "rec.sigmf-data", "rec.sigmf-meta"}))
            << datatype;
    }
}

TEST(CliSigmf, FsOnTheCommandLineWinsAndARateOutsideTheLimitsIsLeft) {
    ScratchFolder scratch;
    writeFile(scratch.file("r.sigmf-data"), encodeSamples("ci16_le", 64).data);
    for (const auto& [rate, fs, expected, warning] :
         std::vector<std::tuple<std::string, std::string, std::string, std::string>>{
             {"61440000", "", "61440000.000000", ""},
             {"61440000", "100", "100000000.000000", ""},
             {"5e6", "", "200000000.000000",
              "r.sigmf-meta: core:sample_rate 5 MHz is outside the Sampling Freq limits 12.5 to 200 MHz; Sampling "
              "Freq is left as it was"},
             {"5e6", "12.5", "12500000.000000", ""},
         }) {
        writeFile(scratch.file("r.sigmf-meta"), metaText("ci16_le", R"(, "core:sample_rate": )" + rate));
        std::vector<std::string> args = {"convert", scratch.file("r.sigmf-meta"), "-o", scratch.file("r.awv")};
        if (!fs.empty()) args.insert(args.end(), {"--fs", fs});
        ProgramRun run = cli(scratch, args);
        ASSERT_EQ(run.exitCode, 0) << run.err;
        EXPECT_EQ(headerLine(readFile(scratch.file("r.awv")), "SAMPLINGFREQ"), "{SAMPLINGFREQ:" + expected + "}")
            << rate << " " << fs;
        if (warning.empty())
            EXPECT_EQ(run.err, "") << rate << " " << fs;
        else
            EXPECT_NE(run.err.find(warning), std::string::npos) << run.err;
    }
}

TEST(CliSigmf, RefusedRecordingsNameFileAndFieldAndWriteNothing) {
    struct Case {
        const char* name;
        std::string meta;
        std::string data;
        std::string message;
    };
    const std::vector<Case> cases = {
        {"two channels", metaText("ci16_le", R"(, "core:num_channels": 2)"), std::string(16, '\0'),
         "r.sigmf-meta: global core:num_channels: is 2"},
        {"no datatype", R"({"global": {"core:version": "1.2.0"}})", std::string(16, '\0'),
         "r.sigmf-meta: global core:datatype: is missing"},
        {"unknown datatype", metaText("cf16_le"), std::string(16, '\0'),
         "r.sigmf-meta: global core:datatype: \"cf16_le\" is not a SigMF datatype"},
        {"partial sample", metaText("cf32_be"), std::string(20, '\0'),
         "r.sigmf-data: 20 bytes of samples are not a whole number of cf32_be samples of 8 bytes"},
        {"invalid JSON", "{\"global\": {\"core:datatype\": \"ci8\",}}", std::string(16, '\0'),
         "r.sigmf-meta: invalid JSON at byte"},
        {"not finite", metaText("cf64_le"), std::string(8, '\0') + std::string("\0\0\0\0\0\0\xf0\x7f", 8),
         "r.sigmf-data: sample 0 (counted from 0): Q is not a finite number"},
    };
    for (const Case& c : cases) {
        ScratchFolder scratch;
        writeFile(scratch.file("r.sigmf-meta"), c.meta);
        writeFile(scratch.file("r.sigmf-data"), c.data);
        ProgramRun run = cli(scratch, {"convert", scratch.file("r.sigmf-meta"), "-o", scratch.file("r.awv")});
        EXPECT_EQ(run.exitCode, 1) << c.name;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << c.name << ": " << run.err;
        EXPECT_EQ(filesIn(scratch), (std::vector<std::string>{"r.sigmf-data", "r.sigmf-meta"})) << c.name;
    }
}

TEST(CliSigmf, LayoutSigmfSelectsARecordingOfAnyName) {
    ScratchFolder scratch;
    writeFile(scratch.file("r.sigmf-data"), encodeSamples("cu8", 16).data);
    writeFile(scratch.file("r.sigmf-meta"), metaText("cu8"));
    fs::copy(scratch.file("r.sigmf-meta"), scratch.file("r.json"));
    ProgramRun run =
        cli(scratch, {"convert", "--layout", "sigmf", scratch.file("r.json"), "-o", scratch.file("r.awv")});
    // Any other name is the meta file, whose data file is beside it.
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.err.find("r.json.sigmf-data: the data file of"), std::string::npos) << run.err;
    fs::copy(scratch.file("r.sigmf-data"), scratch.file("r.json.sigmf-data"));
    run = cli(scratch, {"convert", "--layout", "sigmf", scratch.file("r.json"), "-o", scratch.file("r.awv")});
    EXPECT_EQ(run.exitCode, 0) << run.err;
}

// The words of a waveform file's sample block.
std::vector<std::uint32_t> wordsOf(const std::string& path) {
    auto read = halvik::readAwvFile(path);
    if (auto* error = std::get_if<halvik::AwvError>(&read)) ADD_FAILURE() << path << ": " << error->describe();
    const auto& summary = std::get<halvik::AwvSummary>(read);
    const std::string bytes = readFile(path);
    std::vector<std::uint32_t> words(2 * summary.sampleCount);
    std::memcpy(words.data(), bytes.data() + summary.dataOffset, words.size() * 4);
    return words;
}

void expectSameCodesAndMarkers(const std::string& original, const std::string& again) {
    const std::vector<std::uint32_t> a = wordsOf(original);
    const std::vector<std::uint32_t> b = wordsOf(again);
    ASSERT_EQ(a.size(), b.size());
    int off = 0;
    for (std::size_t k = 0; k < a.size(); ++k) {
        const int difference = static_cast<int>(a[k] & 0x3fff) - static_cast<int>(b[k] & 0x3fff);
        ASSERT_LE(std::abs(difference), 1) << "word " << k;
        off += difference != 0;
        ASSERT_EQ(a[k] & 0xc000, b[k] & 0xc000) << "marker bits of word " << k;
    }
    ::testing::Test::RecordProperty("codes off by one", off);
}

// A tone with two markers of several ranges, written by the engine.
std::string originalWaveform(const ScratchFolder& scratch) {
    std::string pairs;
    for (int n = 0; n < 3000; ++n) {
        sigmf::test::appendFloat(pairs, static_cast<float>(0.9 * std::cos(0.05 * n) + 0.05 * std::sin(0.7 * n)));
        sigmf::test::appendFloat(pairs, static_cast<float>(0.9 * std::sin(0.05 * n)));
    }
    writeFile(scratch.file("tone.TXD"), pairs);
    writeFile(scratch.file("m1.dat"), "0 1\n200 0\n1000 1\n1500 0\n2600 1\n");
    writeFile(scratch.file("m2.dat"), "100 1\n1200 0\n1300 1\n1302 0\n");
    ProgramRun run =
        cli(scratch, {"convert", scratch.file("tone.TXD"), "-o", scratch.file("tone.awv"), "--fs", "61.44", "--marker1",
                      scratch.file("m1.dat"), "--marker2", scratch.file("m2.dat"), "--iq-filter", "50M"});
    EXPECT_EQ(run.exitCode, 0) << run.err;
    return scratch.file("tone.awv");
}

TEST(CliSigmf, ExportThenConvertGivesBackCodesAndMarkers) {
    ScratchFolder scratch;
    const std::string original = originalWaveform(scratch);
    ProgramRun exported = cli(scratch, {"export", original, "-o", scratch.file("back.sigmf-meta")});
    ASSERT_EQ(exported.exitCode, 0) << exported.err;

    // Marker files from the annotations, one change point per range edge.
    const nlohmann::json meta = nlohmann::json::parse(readFile(scratch.file("back.sigmf-meta")));
    std::ostringstream marker1, marker2;
    for (const nlohmann::json& annotation : meta.at("annotations")) {
        std::ostringstream& file = annotation.at("core:label") == "marker1" ? marker1 : marker2;
        const std::uint64_t start = annotation.at("core:sample_start");
        file << start << " 1\n" << start + annotation.at("core:sample_count").get<std::uint64_t>() << " 0\n";
    }
    writeFile(scratch.file("b1.dat"), marker1.str());
    writeFile(scratch.file("b2.dat"), marker2.str());
    ProgramRun again =
        cli(scratch, {"convert", scratch.file("back.sigmf-meta"), "-o", scratch.file("again.awv"), "--marker1",
                      scratch.file("b1.dat"), "--marker2", scratch.file("b2.dat"), "--iq-filter", "50M"});
    ASSERT_EQ(again.exitCode, 0) << again.err;
    expectSameCodesAndMarkers(original, scratch.file("again.awv"));
    EXPECT_EQ(headerLine(readFile(scratch.file("again.awv")), "SAMPLINGFREQ"), "{SAMPLINGFREQ:61440000.000000}");

    // The same through CSV lines, markers from the M1 and M2 columns.
    ASSERT_EQ(cli(scratch, {"export", original, "-o", scratch.file("back.csv")}).exitCode, 0);
    std::istringstream lines(readFile(scratch.file("back.csv")));
    std::ostringstream csv1, csv2;
    int level1 = 0, level2 = 0, index = 0;
    for (std::string line; std::getline(lines, line); ++index) {
        const int m1 = line[line.size() - 3] - '0';
        const int m2 = line[line.size() - 1] - '0';
        if (m1 != level1) csv1 << index << ' ' << (level1 = m1) << '\n';
        if (m2 != level2) csv2 << index << ' ' << (level2 = m2) << '\n';
    }
    EXPECT_EQ(index, 3000);
    writeFile(scratch.file("c1.dat"), csv1.str());
    writeFile(scratch.file("c2.dat"), csv2.str());
    ProgramRun fromCsv =
        cli(scratch, {"convert", scratch.file("back.csv"), "-o", scratch.file("csv.awv"), "--fs", "61.44", "--marker1",
                      scratch.file("c1.dat"), "--marker2", scratch.file("c2.dat"), "--iq-filter", "50M"});
    ASSERT_EQ(fromCsv.exitCode, 0) << fromCsv.err;
    expectSameCodesAndMarkers(original, scratch.file("csv.awv"));

    // And raw float pairs, without markers.
    ASSERT_EQ(cli(scratch, {"export", original, "-o", scratch.file("back.cf32")}).exitCode, 0);
    EXPECT_TRUE(readFile(scratch.file("back.cf32")) == readFile(scratch.file("back.sigmf-data")));
}

TEST(CliSigmf, ExportRefusalsWriteNothing) {
    ScratchFolder scratch;
    const std::string original = originalWaveform(scratch);
    const std::string whole = readFile(original);
    writeFile(scratch.file("cut.awv"), whole.substr(0, whole.size() - 100));
    const std::vector<std::string> before = filesIn(scratch);
    ProgramRun cut = cli(scratch, {"export", scratch.file("cut.awv"), "-o", scratch.file("x.sigmf-meta")});
    EXPECT_EQ(cut.exitCode, 1);
    EXPECT_NE(
        cut.err.find("cut.awv: byte " + std::to_string(whole.size() - 100) + ": the file ends inside the sample block"),
        std::string::npos)
        << cut.err;
    ProgramRun ending = cli(scratch, {"export", original, "-o", scratch.file("x.wav")});
    EXPECT_EQ(ending.exitCode, 2);
    EXPECT_NE(ending.err.find("--output: \"" + scratch.file("x.wav") + "\" has no known ending"), std::string::npos)
        << ending.err;
    ProgramRun missing = cli(scratch, {"export", scratch.file("none.awv"), "-o", scratch.file("x.csv")});
    EXPECT_EQ(missing.exitCode, 1);
    EXPECT_NE(missing.err.find("none.awv"), std::string::npos) << missing.err;
    EXPECT_EQ(filesIn(scratch), before);
}

}  // namespace
}  // namespace orvenda::cli::test
