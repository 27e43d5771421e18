// Loading the engine by name: found beside the program, bound once and kept,
// and every failure says which library and why.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "core/transform/halvik_library.h"

namespace orvenda {
namespace {

TEST(HalvikLibrary, FindsTheEngineBesideTheProgramAndKeepsTheBinding) {
    // The tests find the engine beside themselves, as the program does.
    ASSERT_TRUE(std::filesystem::exists(programDirectory() + "/" + HALVIK_LIBRARY_FILE_NAME));
    HalvikLibrary library;
    EXPECT_FALSE(library.isBound());
    std::string error;
    const HalvikFunction first = library.halvik(error);
    ASSERT_NE(first, nullptr) << error;
    EXPECT_TRUE(library.isBound());
    EXPECT_EQ(library.loadedFrom(), programDirectory() + "/" + HALVIK_LIBRARY_FILE_NAME);
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
    const std::string real = programDirectory() + "/" + HALVIK_LIBRARY_FILE_NAME;
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
