// The engine's progress window adapter: where it finds the run-time layer
// and the panel file, how it fails when either is missing or wrong, and that
// such a failure fails the conversion without touching the output.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <ostream>

#include <filesystem>
#include <string>
#include <vector>

#include "engine/conversion.h"
#include "engine/progress_window.h"
#include "engine/rte/rte_api.h"
#include "tests/engine/engine_test_support.h"

namespace halvik {
namespace {

namespace fs = std::filesystem;
using test::readFile;
using test::ScratchDir;
using test::writeFile;

const std::string kBinDir = ORVENDA_BIN_DIR;
const std::string kGoodPanel = "orvenda-uir 1\npanel 1 300 100 Halvik\ncontrol 2 progress Preparing...\nend\n";

// Whether the layer's run-time is initialised right now, asked of the very
// instance the adapter loaded (a panel load answers "not initialised").
bool layerRuntimeOpen() {
    void* layer = ::dlopen((kBinDir + "/" + ORVENDA_RTE_LIBRARY_FILE_NAME).c_str(), RTLD_NOW | RTLD_NOLOAD);
    if (layer == nullptr) return false;  // never loaded, so not open either
    auto loadPanel = reinterpret_cast<RteLoadPanelFunction>(::dlsym(layer, "RteLoadPanel"));
    auto discardPanel = reinterpret_cast<RteDiscardPanelFunction>(::dlsym(layer, "RteDiscardPanel"));
    const std::string panelFile = kBinDir + "/Halvik.uir";
    const int handle = loadPanel(0, panelFile.c_str(), 1);
    if (handle > 0) discardPanel(handle);
    ::dlclose(layer);
    return handle != RTE_ERR_NOT_INITIALISED;
}

class ProgressWindowTest : public ::testing::Test {
protected:
    void TearDown() override { setRuntimeDirectoryForTesting(""); }

    // A runtime folder holding the real layer and the given panel file.
    void useFolderWithPanel(const std::string& panelBytes) {
        fs::create_symlink(kBinDir + "/" + ORVENDA_RTE_LIBRARY_FILE_NAME, dir.path() / ORVENDA_RTE_LIBRARY_FILE_NAME);
        writeFile(dir.file("Halvik.uir"), panelBytes);
        setRuntimeDirectoryForTesting(dir.path().string());
    }

    ScratchDir dir;
};

TEST_F(ProgressWindowTest, FindsLayerAndPanelBesideTheEngine) {
    ProgressWindow window;
    ASSERT_TRUE(window.initialise());
    ASSERT_TRUE(window.loadPanel());
    EXPECT_TRUE(layerRuntimeOpen());
    window.display();
    window.setStage("Writing data...");
    for (int block = 1; block <= 1000; ++block) window.setProgress(block * 100.0 / 1000);
    window.close();
    EXPECT_FALSE(layerRuntimeOpen());
    window.close();  // twice is harmless
    EXPECT_FALSE(layerRuntimeOpen());
}

TEST_F(ProgressWindowTest, ClosesTheRunTimeWhenDestroyedOpen) {
    {
        ProgressWindow window;
        ASSERT_TRUE(window.initialise());
        ASSERT_TRUE(window.loadPanel());
    }
    EXPECT_FALSE(layerRuntimeOpen());
}

TEST_F(ProgressWindowTest, InitialisationFailsWithoutAUsableLayer) {
    struct Row {
        const char* name;
        void (*prepare)(const fs::path& folder);
    };
    const std::vector<Row> rows = {
        {"no layer", [](const fs::path&) {}},
        {"not a library", [](const fs::path& f) { writeFile((f / ORVENDA_RTE_LIBRARY_FILE_NAME).string(), "text"); }},
        {"a library without the operations",
         [](const fs::path& f) {
             fs::copy_file(kBinDir + "/" + HALVIK_LIBRARY_FILE_NAME, f / ORVENDA_RTE_LIBRARY_FILE_NAME);
         }},
    };
    for (const Row& row : rows) {
        ScratchDir folder;
        row.prepare(folder.path());
        writeFile(folder.file("Halvik.uir"), kGoodPanel);
        setRuntimeDirectoryForTesting(folder.path().string());
        ProgressWindow window;
        EXPECT_FALSE(window.initialise()) << row.name;
        EXPECT_FALSE(window.loadPanel()) << row.name;
        window.display();  // all harmless without a layer
        window.setStage("Writing data...");
        window.setProgress(50.0);
        window.close();
    }
}

struct PanelRow {
    const char* name;
    const char* bytes;  // nullptr: no panel file at all
};

void PrintTo(const PanelRow& row, std::ostream* os) { *os << row.name; }

class PanelFaultTest : public ProgressWindowTest, public ::testing::WithParamInterface<PanelRow> {};

TEST_P(PanelFaultTest, PanelLoadFailsAndTheRunTimeIsClosedAgain) {
    useFolderWithPanel(GetParam().bytes ? GetParam().bytes : "");
    if (!GetParam().bytes) fs::remove(dir.path() / "Halvik.uir");
    ProgressWindow window;
    ASSERT_TRUE(window.initialise());
    EXPECT_TRUE(layerRuntimeOpen());
    EXPECT_FALSE(window.loadPanel());
    EXPECT_FALSE(layerRuntimeOpen());
}

const PanelRow kPanelFaults[] = {
    {"Missing", nullptr},
    {"Empty", ""},
    {"Malformed", "orvenda-uir 1\npanel 1 300 100 Halvik\ncontrol 2 progress x\n"},
    {"NoResource1", "orvenda-uir 1\npanel 2 300 100 Halvik\ncontrol 2 progress x\nend\n"},
    {"NoControl2", "orvenda-uir 1\npanel 1 300 100 Halvik\ncontrol 1 progress x\nend\n"},
    {"Control2IsALabel", "orvenda-uir 1\npanel 1 300 100 Halvik\ncontrol 2 label x\nend\n"},
};

INSTANTIATE_TEST_SUITE_P(Rows, PanelFaultTest, ::testing::ValuesIn(kPanelFaults),
                         [](const ::testing::TestParamInfo<PanelRow>& row) { return std::string(row.param.name); });

// --- the effect on a conversion ---

class ConversionWithoutProgressTest : public ProgressWindowTest {
protected:
    int32_t convertSmallFile(const std::string& outPath) {
        writeFile(input.file("in.txt"), "0.5 -0.5\n0.25 0.75\n");
        settings = test::quietSettings();
        ConversionRequest request;
        request.iPath = input.file("in.txt");
        request.inputDataType = 1;
        request.inputFileKind = 4;
        request.sampleCount = 2;
        request.peakValue = 1.0;
        request.settings = &settings;
        request.outPath = outPath;
        return convert(request);
    }

    ScratchDir input;
    ScratchDir output;
    ConversionSettings settings{};
};

TEST_F(ConversionWithoutProgressTest, AMalformedPanelFileFailsTheCallAndLeavesNoFile) {
    useFolderWithPanel("orvenda-uir 1\npanel 1 300 100 Halvik\n");
    EXPECT_EQ(convertSmallFile(output.file("out.awv")), -1);
    EXPECT_TRUE(output.entries().empty());
}

TEST_F(ConversionWithoutProgressTest, AMalformedPanelFileKeepsAnExistingOutput) {
    useFolderWithPanel("orvenda-uir 1\npanel 1 300 100 Halvik\ncontrol 3 progress x\nend\n");
    writeFile(output.file("out.awv"), "the previous waveform");
    EXPECT_EQ(convertSmallFile(output.file("out.awv")), -1);
    EXPECT_EQ(readFile(output.file("out.awv")), "the previous waveform");
    EXPECT_EQ(output.entries(), std::vector<std::string>{"out.awv"});
}

TEST_F(ConversionWithoutProgressTest, AMissingLayerFailsTheCallAndKeepsAnExistingOutput) {
    writeFile(dir.file("Halvik.uir"), kGoodPanel);
    setRuntimeDirectoryForTesting(dir.path().string());
    writeFile(output.file("out.awv"), "the previous waveform");
    EXPECT_EQ(convertSmallFile(output.file("out.awv")), -1);
    EXPECT_EQ(readFile(output.file("out.awv")), "the previous waveform");
    EXPECT_EQ(output.entries(), std::vector<std::string>{"out.awv"});
}

TEST_F(ConversionWithoutProgressTest, TheSameCallSucceedsWithAGoodPanelFile) {
    useFolderWithPanel(kGoodPanel);
    ASSERT_EQ(convertSmallFile(output.file("out.awv")), 0);
    EXPECT_EQ(output.entries(), std::vector<std::string>{"out.awv"});
    EXPECT_FALSE(layerRuntimeOpen());
}

}  // namespace
}  // namespace halvik
