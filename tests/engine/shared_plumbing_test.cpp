// The plumbing the engine shares with the program and the command line:
// the reasons a byte source or an output file gives for a failure, and the
// loader of libraries beside a binary.
#include <cerrno>
#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

#include <dlfcn.h>
#include <gtest/gtest.h>

#include "engine/byte_source.h"
#include "engine/output_file.h"
#include "engine/sibling_library.h"
#include "tests/engine/engine_test_support.h"

namespace halvik {
namespace {

TEST(FileByteSourceReasons, OpeningTellsWhyNot) {
    test::ScratchDir dir;
    int error = -1;
    EXPECT_FALSE(FileByteSource::open(dir.file("absent"), FileByteSource::Folders::Refuse, &error));
    EXPECT_EQ(error, ENOENT);
    EXPECT_FALSE(FileByteSource::open("", FileByteSource::Folders::Open, &error));
    EXPECT_EQ(error, ENOENT);
    EXPECT_FALSE(FileByteSource::open(dir.path().string(), FileByteSource::Folders::Refuse, &error));
    EXPECT_EQ(error, EISDIR);
}

// A folder opened for the program's readers reads as a read error, which the
// source keeps; the bytes before an error, and an error-free end, give 0.
TEST(FileByteSourceReasons, ReadErrorIsKeptAfterTheEnd) {
    test::ScratchDir dir;
    int error = -1;
    auto folder = FileByteSource::open(dir.path().string(), FileByteSource::Folders::Open, &error);
    ASSERT_TRUE(folder);
    EXPECT_EQ(error, 0);
    std::vector<std::byte> buffer(16);
    EXPECT_EQ(folder->read(buffer), 0u);
    EXPECT_EQ(folder->error(), EISDIR);
    EXPECT_EQ(folder->read(buffer), 0u) << "an error ends the data for good";

    test::writeFile(dir.file("data"), "abc");
    auto file = FileByteSource::open(dir.file("data"));
    ASSERT_TRUE(file);
    EXPECT_EQ(file->read(buffer), 3u);
    EXPECT_EQ(file->read(buffer), 0u);
    EXPECT_EQ(file->error(), 0);
    MemoryByteSource memory(std::string_view("xy"));
    EXPECT_EQ(memory.read(buffer), 2u);
    EXPECT_EQ(memory.error(), 0);
}

struct RefusedOutputRow {
    const char* name;
    const char* relativePath;
    int error;
};

// Rows are named in test output by their name, not by a dump of their bytes.
void PrintTo(const RefusedOutputRow& row, std::ostream* os) { *os << row.name; }

class RefusedOutput : public ::testing::TestWithParam<RefusedOutputRow> {};

TEST_P(RefusedOutput, NamesTheReasonAndLeavesNoFile) {
    test::ScratchDir dir;
    test::writeFile(dir.file("file"), "x");
    int error = -1;
    EXPECT_FALSE(OutputFile::create(dir.file(GetParam().relativePath), &error));
    EXPECT_EQ(error, GetParam().error);
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"file"});
}

INSTANTIATE_TEST_SUITE_P(OutputFile, RefusedOutput,
                         ::testing::Values(RefusedOutputRow{"MissingFolder", "no/such.awv", ENOENT},
                                           RefusedOutputRow{"FileAsFolder", "file/out.awv", ENOTDIR},
                                           RefusedOutputRow{"TheFolderItself", ".", EISDIR}),
                         test::RowName());

TEST(OutputFileReasons, DeviceIsRefusedAndAFullDiskNamed) {
    int error = 0;
    EXPECT_FALSE(OutputFile::create("/dev/null", &error)) << "renaming would replace the device";
    EXPECT_EQ(error, EINVAL);
    test::ScratchDir dir;
    auto file = OutputFile::create(dir.file("out"), {.syncBeforeRename = true}, &error);
    ASSERT_TRUE(file);
    EXPECT_EQ(error, 0);
    file->write("data");
    EXPECT_TRUE(file->commit());
    EXPECT_EQ(file->error(), 0);
    EXPECT_EQ(test::readFile(dir.file("out")), "data");
}

// A name that nearly fills the 255-byte limit still gets a temporary file
// beside it (shortened), with and without syncing.
TEST(OutputFileReasons, LongestNamesAreWritten) {
    test::ScratchDir dir;
    const std::string name(250, 'n');
    for (bool sync : {false, true}) {
        auto file = OutputFile::create(dir.file(name), {.syncBeforeRename = sync});
        ASSERT_TRUE(file) << sync;
        file->write(sync ? "synced" : "plain");
        EXPECT_TRUE(file->commit());
        EXPECT_EQ(test::readFile(dir.file(name)), sync ? "synced" : "plain");
    }
    EXPECT_EQ(dir.entries(), std::vector<std::string>{name});
}

TEST(SiblingLibrary, CodeInTheProgramLivesInTheProgramsFolder) {
    static const char anchor = 0;
    const std::string program = programFolder();
    ASSERT_FALSE(program.empty());
    EXPECT_EQ(program.front(), '/');
    EXPECT_NE(program.back(), '/');
    EXPECT_EQ(folderOfBinaryHolding(&anchor), program);
}

TEST(SiblingLibrary, LoadsBesideAFolderOrSaysWhyNot) {
    const std::string folder = programFolder();
    void* library = openLibraryIn(folder, HALVIK_LIBRARY_FILE_NAME, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr) << lastLoaderError();
    void* halvik = ::dlsym(library, "Halvik");
    ASSERT_NE(halvik, nullptr);
    // Code inside a loaded library lives in that library's folder (the
    // folder of the file itself where the name beside the tests is a link).
    const std::filesystem::path real = std::filesystem::canonical(folder + "/" + HALVIK_LIBRARY_FILE_NAME);
    EXPECT_EQ(std::filesystem::canonical(folderOfBinaryHolding(halvik)), real.parent_path());
    ::dlclose(library);

    std::string error;
    EXPECT_EQ(openLibraryIn("/nonexistent-folder", "libNothing.so", RTLD_NOW, &error), nullptr);
    EXPECT_NE(error.find("/nonexistent-folder/libNothing.so"), std::string::npos) << error;
}

}  // namespace
}  // namespace halvik
