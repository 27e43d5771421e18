// Recordings made ready for the engine: the bytes of the temporary file for
// every datatype, the pass-through of the engine's own layouts, and that no
// temporary file outlives its owner, a failure or a signal.
#include <gtest/gtest.h>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <limits>
#include <variant>

#include "core/cleanup/removal_registry.h"
#include "core/sigmf/engine_samples.h"
#include "tests/sigmf/sigmf_test_files.h"

namespace orvenda::sigmf {
namespace {

using namespace test;

Recording openOrFail(const std::string& metaPath) {
    auto opened = openRecording(metaPath);
    if (auto* error = std::get_if<RecordingError>(&opened)) ADD_FAILURE() << error->message;
    return std::get<Recording>(opened);
}

// Two captures with headers, so every datatype goes through the converter.
TEST(SigmfEngineSamples, EveryDatatypeGivesTheDocumentedValues) {
    for (const std::string& datatype : complexDatatypes()) {
        Scratch scratch;
        const std::size_t samples = 300;
        EncodedSamples encoded = encodeSamples(datatype, samples);
        const std::size_t sampleBytes = encoded.data.size() / samples;
        const std::string data = "HEAD" + encoded.data.substr(0, 100 * sampleBytes) + "hd" +
                                 encoded.data.substr(100 * sampleBytes) + "TRAIL";
        writeBytes(scratch.file("r.sigmf-data"), data);
        writeBytes(scratch.file("r.sigmf-meta"), metaText(datatype, R"(, "core:offset": 50, "core:trailing_bytes": 5)",
                                                          R"([{"core:sample_start": 50, "core:header_bytes": 4},
                                {"core:sample_start": 150, "core:header_bytes": 2}])"));
        Recording recording = openOrFail(scratch.file("r.sigmf-meta"));
        PrepareOptions options;
        options.temporaryFolder = scratch.file("");
        auto prepared = prepareForEngine(recording, options);
        ASSERT_TRUE(std::holds_alternative<PreparedSamples>(prepared))
            << datatype << ": " << std::get<RecordingError>(prepared).message;
        const PreparedSamples& ready = std::get<PreparedSamples>(prepared);
        ASSERT_TRUE(ready.temporary) << datatype;
        EXPECT_EQ(ready.sampleCount, samples) << datatype;
        EXPECT_EQ(ready.command,
                  encoded.shortLayout ? input::LoadCommand::BinaryShort : input::LoadCommand::BinaryFloat)
            << datatype;
        EXPECT_TRUE(readBytes(ready.path) == encoded.engineBytes) << datatype;
    }
}

TEST(SigmfEngineSamples, EngineLayoutsWithoutHeadersAreReadInPlace) {
    for (const char* datatype : {"cf32_le", "ci16_le"}) {
        Scratch scratch;
        writeBytes(scratch.file("r.sigmf-data"), encodeSamples(datatype, 40).data);
        writeBytes(scratch.file("r.sigmf-meta"),
                   metaText(datatype, "", R"([{"core:sample_start": 0}, {"core:sample_start": 20}])"));
        auto prepared = prepareForEngine(openOrFail(scratch.file("r.sigmf-meta")));
        ASSERT_TRUE(std::holds_alternative<PreparedSamples>(prepared)) << datatype;
        EXPECT_FALSE(std::get<PreparedSamples>(prepared).temporary) << datatype;
        EXPECT_EQ(std::get<PreparedSamples>(prepared).path, scratch.file("r.sigmf-data")) << datatype;
    }
}

TEST(SigmfEngineSamples, TheTemporaryFileGoesWithItsOwnerAndTheLimitIsKept) {
    Scratch scratch;
    writeBytes(scratch.file("r.sigmf-data"), encodeSamples("cu8", 1000).data);
    writeBytes(scratch.file("r.sigmf-meta"), metaText("cu8"));
    PrepareOptions options;
    options.temporaryFolder = scratch.file("");
    options.sampleLimit = 257;
    std::uint64_t lastProgress = 0;
    options.onProgress = [&](std::uint64_t done, std::uint64_t total) {
        EXPECT_EQ(total, 257u);
        lastProgress = done;
        return true;
    };
    {
        auto prepared = prepareForEngine(openOrFail(scratch.file("r.sigmf-meta")), options);
        ASSERT_TRUE(std::holds_alternative<PreparedSamples>(prepared));
        EXPECT_EQ(std::get<PreparedSamples>(prepared).sampleCount, 257u);
        EXPECT_EQ(readBytes(std::get<PreparedSamples>(prepared).path).size(), 257u * 8);
        EXPECT_EQ(scratch.names().size(), 3u);
    }
    EXPECT_EQ(lastProgress, 257u);
    EXPECT_EQ(scratch.names(), (std::vector<std::string>{"r.sigmf-data", "r.sigmf-meta"}));
}

struct FailureCase {
    const char* name;
    std::string datatype;
    std::string data;
    std::string message;
};

TEST(SigmfEngineSamples, RefusedValuesAndCancellingLeaveNoFile) {
    std::string nanInQ;
    appendFloat(nanInQ, 1.0f);
    appendFloat(nanInQ, 2.0f);
    appendFloat(nanInQ, 0.5f);
    appendFloat(nanInQ, std::numeric_limits<float>::quiet_NaN());
    std::string hugeDouble;
    appendComponent(hugeDouble, std::bit_cast<std::uint64_t>(1e300), 8, true);
    appendComponent(hugeDouble, std::bit_cast<std::uint64_t>(0.0), 8, true);
    const std::vector<FailureCase> cases = {
        {"NaN", "cf32_be", std::string(8, '\0') + std::string("\x7f\xc0\0\0\0\0\0\0", 8),
         "r.sigmf-data: sample 1 (counted from 0): I is not a finite number"},
        {"NaN behind a header", "cf32_le", nanInQ, "r.sigmf-data: sample 1 (counted from 0): Q is not a finite number"},
        {"beyond float", "cf64_be", hugeDouble,
         "r.sigmf-data: sample 0 (counted from 0): I is not a finite number within the float range"},
        {"cancelled", "ci8", std::string(64, '\1'), "r.sigmf-data: the conversion was cancelled"},
    };
    for (const FailureCase& c : cases) {
        Scratch scratch;
        const bool header = std::string(c.name) == "NaN behind a header";
        writeBytes(scratch.file("r.sigmf-data"), (header ? "H" : "") + c.data);
        writeBytes(scratch.file("r.sigmf-meta"),
                   metaText(c.datatype, "",
                            header ? R"([{"core:sample_start": 0, "core:header_bytes": 1}])"
                                   : R"([{"core:sample_start": 0}])"));
        PrepareOptions options;
        options.temporaryFolder = scratch.file("");
        options.onProgress = [](std::uint64_t, std::uint64_t) { return false; };
        auto prepared = prepareForEngine(openOrFail(scratch.file("r.sigmf-meta")), options);
        ASSERT_TRUE(std::holds_alternative<RecordingError>(prepared)) << c.name;
        EXPECT_NE(std::get<RecordingError>(prepared).message.find(c.message), std::string::npos)
            << c.name << ": " << std::get<RecordingError>(prepared).message;
        EXPECT_EQ(scratch.names(), (std::vector<std::string>{"r.sigmf-data", "r.sigmf-meta"})) << c.name;
    }
    EXPECT_EQ(cleanup::registeredCount(), 0u);
}

// A child converts, then is stopped by each signal: its temporary file goes,
// and it ends as the signal ends a process.
TEST(SigmfEngineSamples, ASignalRemovesTheTemporaryFile) {
    for (int signalNumber : {SIGINT, SIGTERM, SIGHUP}) {
        Scratch scratch;
        writeBytes(scratch.file("r.sigmf-data"), encodeSamples("ci8", 100).data);
        writeBytes(scratch.file("r.sigmf-meta"), metaText("ci8"));
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            signal(signalNumber, SIG_DFL);  // a test runner may have it ignored
            auto opened = openRecording(scratch.file("r.sigmf-meta"));
            PrepareOptions options;
            options.temporaryFolder = scratch.file("");
            auto prepared = prepareForEngine(std::get<Recording>(opened), options);
            if (!std::holds_alternative<PreparedSamples>(prepared)) _exit(3);
            raise(signalNumber);
            _exit(4);  // not reached
        }
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        ASSERT_TRUE(WIFSIGNALED(status)) << "signal " << signalNumber << ", status " << status;
        EXPECT_EQ(WTERMSIG(status), signalNumber);
        EXPECT_EQ(scratch.names(), (std::vector<std::string>{"r.sigmf-data", "r.sigmf-meta"}))
            << "signal " << signalNumber;
    }
}

}  // namespace
}  // namespace orvenda::sigmf
