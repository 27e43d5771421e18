// libHalvikLib.so as its callers meet it: exactly three exports, no GUI
// toolkit among its needs, and loadable from its folder to convert a file.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include "common/halvik_api.h"
#include "tests/engine/elf_dynamic.h"
#include "tests/engine/engine_test_support.h"

namespace halvik {
namespace {

namespace fs = std::filesystem;

const std::string kBinDir = ORVENDA_BIN_DIR;

TEST(LibraryExportsTest, HalvikLibExportsExactlyItsThreeEntryPoints) {
    const test::ElfDynamic elf = test::readElfDynamic(kBinDir + "/" + HALVIK_LIBRARY_FILE_NAME);
    EXPECT_EQ(elf.definedSymbols, (std::set<std::string>{"Halvik", "HalvikMain", "HalvikMainVB"}));
}

TEST(LibraryExportsTest, TheEngineNeedsNeitherAGuiToolkitNorTheLayer) {
    const test::ElfDynamic elf = test::readElfDynamic(kBinDir + "/" + HALVIK_LIBRARY_FILE_NAME);
    ASSERT_FALSE(elf.neededLibraries.empty());
    for (const std::string& needed : elf.neededLibraries) {
        EXPECT_EQ(needed.find("Qt"), std::string::npos) << needed;
        EXPECT_EQ(needed.find("OrvendaRte"), std::string::npos) << needed;
    }
}

TEST(LibraryExportsTest, TheLayerExportsExactlyItsOperationsAndNeedsNoQt) {
    const test::ElfDynamic elf = test::readElfDynamic(kBinDir + "/libOrvendaRte.so");
    EXPECT_EQ(elf.definedSymbols,
              (std::set<std::string>{"RteInit", "RteLoadPanel", "RteDisplayPanel", "RteSetCtrlAttribute",
                                     "RteSetCtrlVal", "RteProcessDrawEvents", "RteDiscardPanel", "RteClose"}));
    for (const std::string& needed : elf.neededLibraries) EXPECT_EQ(needed.find("Qt"), std::string::npos) << needed;
}

TEST(LibraryExportsTest, TheLayersWindowLibraryOffersOneEntryAndUsesQtWidgets) {
    if (!ORVENDA_WITH_WINDOW_LIBRARY) GTEST_SKIP() << "built without the GUI: no window library";
    const test::ElfDynamic elf = test::readElfDynamic(kBinDir + "/libOrvendaRteQt.so");
    EXPECT_EQ(elf.definedSymbols, (std::set<std::string>{"RteCreateWindowView"}));
    EXPECT_EQ(elf.neededLibraries.count("libQt6Widgets.so.6"), 1u);
}

// Loaded by its file name from the product's folder, as the program Orvenda
// loads it from its own folder (the test programs live in a folder of their own).
std::string inTheBinFolder(const char* fileName) { return (fs::path(kBinDir) / fileName).string(); }

class LoadedByNameTest : public ::testing::Test {
protected:
    void SetUp() override {
        library = ::dlopen(inTheBinFolder(HALVIK_LIBRARY_FILE_NAME).c_str(), RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(library, nullptr) << ::dlerror();
        halvik = reinterpret_cast<HalvikFunction>(::dlsym(library, "Halvik"));
        ASSERT_NE(halvik, nullptr);
    }
    void TearDown() override {
        if (library) ::dlclose(library);
    }

    void* library = nullptr;
    HalvikFunction halvik = nullptr;
    test::ScratchDir dir;
};

TEST_F(LoadedByNameTest, ComesFromTheBinFolder) {
    Dl_info info{};
    ASSERT_NE(::dladdr(reinterpret_cast<void*>(halvik), &info), 0);
    EXPECT_TRUE(fs::equivalent(fs::path(info.dli_fname).parent_path(), kBinDir)) << info.dli_fname;
}

TEST_F(LoadedByNameTest, ConvertsASmallFile) {
    test::writeFile(dir.file("in.txt"), "0 0\n32767 -32767\n");
    std::vector<MarkerPoint> marker1(HALVIK_MARKER_LIST_ENTRIES, MarkerPoint{0, 0});
    std::vector<MarkerPoint> marker2(HALVIK_MARKER_LIST_ENTRIES, MarkerPoint{0, 0});
    marker1[0] = {1, 1};  // marker 1 rises at the second sample
    ConversionSettings settings = test::quietSettings();
    settings.MarkerFlags = HALVIK_MARKER_1_LINE;

    const std::string out = dir.file("out.awv");
    ASSERT_EQ(halvik(dir.file("in.txt").c_str(), nullptr, 1, 4, marker1.data(), marker2.data(), 2, 32767.0, &settings,
                     out.c_str()),
              0);

    const std::string file = test::readFile(out);
    EXPECT_TRUE(
        std::regex_match(test::dateLineOf(file), std::regex(R"(\{DATE:\d{4}/\d{2}/\d{2};\d{2}:\d{2}:\d{2}\}\n)")))
        << test::dateLineOf(file);
    EXPECT_EQ(test::withoutDateLine(file),
              "{MARKER1:ON;POS;0;1;1;1}\n" + test::waveData({8192, 8192, 16383 + 16384, 1}));
    EXPECT_EQ(dir.entries().size(), 2u);  // the input and the output, no leftover

    // A process without a GUI gets no window, and no Qt is mapped into it.
    void* qt = ::dlopen("libQt6Core.so.6", RTLD_NOW | RTLD_NOLOAD);
    EXPECT_EQ(qt, nullptr);
    if (qt) ::dlclose(qt);
}

TEST_F(LoadedByNameTest, FailsCleanlyOnBadArguments) {
    ConversionSettings settings = test::quietSettings();
    const std::string out = dir.file("out.awv");
    EXPECT_EQ(halvik(nullptr, nullptr, 1, 4, nullptr, nullptr, 1, 0.0, nullptr, out.c_str()), -1);
    EXPECT_EQ(halvik(nullptr, nullptr, 1, 4, nullptr, nullptr, 1, 0.0, &settings, nullptr), -1);
    EXPECT_FALSE(fs::exists(out));
}

}  // namespace
}  // namespace halvik
