// Loading the engine by name: found beside the program, bound once and kept,
// and every failure says which library and why.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "core/transform/halvik_library.h"
#include "engine/sibling_library.h"

namespace orvenda {
namespace {

TEST(HalvikLibrary, FindsTheEngineBesideTheProgramAndKeepsTheBinding) {
    // The tests find the engine beside themselves, as the program does.
    ASSERT_TRUE(std::filesystem::exists(halvik::programFolder() + "/" + HALVIK_LIBRARY_FILE_NAME));
    HalvikLibrary library;
    EXPECT_FALSE(library.isBound());
    std::string error;
    const HalvikFunction first = library.halvik(error);
    ASSERT_NE(first, nullptr) << error;
    EXPECT_TRUE(library.isBound());
    EXPECT_EQ(library.loadedFrom(), halvik::programFolder() + "/" + HALVIK_LIBRARY_FILE_NAME);
    EXPECT_EQ(library.halvik(error), first);
}

TEST(HalvikLibrary, BoundFunctionIsTheEngine) {
    HalvikLibrary library;
    std::string error;
    const HalvikFunction halvik = library.halvik(error);
    ASSERT_NE(halvik, nullptr) << error;
    // A data full scale above 1 is refused before any file is touched.
    ConversionSettings settings{};
    settings.AWGGain = 2.0;
    const MarkerPoint none[HALVIK_MARKER_ENTRIES_WALKED] = {};
    const std::string out = ::testing::TempDir() + "/never-written.awv";
    EXPECT_EQ(halvik("", "", 0, 0, none, none, 0, 0.0, &settings, out.c_str()), -1);
    EXPECT_FALSE(std::filesystem::exists(out));
}

// The typed call hands the planned arguments, both marker lists and the path
// to Halvik: a single-column text file becomes a waveform file, and nothing
// is called before the library is bound.
TEST(HalvikLibrary, ConvertRunsThePlannedCall) {
    const std::string folder = ::testing::TempDir();
    const std::string in = folder + "/convert-i.txt";
    const std::string out = folder + "/convert-out.awv";
    std::filesystem::remove(out);
    {
        std::FILE* file = std::fopen(in.c_str(), "wb");
        ASSERT_NE(file, nullptr);
        std::fputs("0.5\n-0.25\n0.125\n", file);
        std::fclose(file);
    }
    HalvikArguments arguments;
    arguments.iPath = in;
    arguments.qPath = in;
    arguments.inputDataType = 1;
    arguments.inputFileKind = 3;
    arguments.sampleCount = 3;
    arguments.peakValue = 0.5;
    arguments.settings.AWGGain = 1.0;
    markers::MarkerStore markers{};

    HalvikLibrary library;
    EXPECT_EQ(library.convert(arguments, markers, out), -1) << "unbound";
    EXPECT_FALSE(std::filesystem::exists(out));
    std::string error;
    ASSERT_NE(library.halvik(error), nullptr) << error;
    EXPECT_EQ(library.convert(arguments, markers, out), 0);
    EXPECT_TRUE(std::filesystem::exists(out));
    arguments.settings.AWGGain = 2.0;  // refused by Halvik: the result comes back
    EXPECT_EQ(library.convert(arguments, markers, folder + "/convert-refused.awv"), -1);
    EXPECT_FALSE(std::filesystem::exists(folder + "/convert-refused.awv"));
    std::filesystem::remove(out);
    std::filesystem::remove(in);
}

TEST(HalvikLibrary, MissingLibraryNamesItAndTheReason) {
    HalvikLibrary library({"/nonexistent-folder/libHalvikLib.so"});
    std::string error;
    EXPECT_EQ(library.halvik(error), nullptr);
    EXPECT_FALSE(library.isBound());
    EXPECT_NE(error.find("libHalvikLib.so"), std::string::npos) << error;
    EXPECT_NE(error.find("No such file"), std::string::npos) << error;
}

TEST(HalvikLibrary, FirstFailureIsReportedWhenLaterPlacesFailToo) {
    HalvikLibrary library({"/first-place/libHalvikLib.so", "libNoSuchHalvikLib.so"});
    std::string error;
    EXPECT_EQ(library.halvik(error), nullptr);
    EXPECT_NE(error.find("/first-place/libHalvikLib.so"), std::string::npos) << error;
}

TEST(HalvikLibrary, FallsBackToTheNextPlace) {
    const std::string real = halvik::programFolder() + "/" + HALVIK_LIBRARY_FILE_NAME;
    HalvikLibrary library({"/nonexistent-folder/libHalvikLib.so", real});
    std::string error;
    EXPECT_NE(library.halvik(error), nullptr) << error;
    EXPECT_EQ(library.loadedFrom(), real);
}

TEST(HalvikLibrary, LibraryWithoutTheExportNamesHalvik) {
    HalvikLibrary library({LIBRARY_WITHOUT_HALVIK});
    std::string error;
    EXPECT_EQ(library.halvik(error), nullptr);
    EXPECT_NE(error.find("Halvik"), std::string::npos) << error;
    EXPECT_NE(error.find(LIBRARY_WITHOUT_HALVIK), std::string::npos) << error;
    EXPECT_NE(error.find("undefined symbol"), std::string::npos) << error;
    EXPECT_FALSE(library.isBound());
}

TEST(HalvikLibrary, NoPlaceToLook) {
    HalvikLibrary library(std::vector<std::string>{});
    std::string error;
    EXPECT_EQ(library.halvik(error), nullptr);
    EXPECT_NE(error.find("libHalvikLib.so"), std::string::npos);
}

}  // namespace
}  // namespace orvenda
