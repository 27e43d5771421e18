// The marker file writer: the exact bytes, the round trip through the reader,
// and failures that leave an existing file as it was.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "core/markers/graph_lib.h"
#include "tests/markers/marker_file_test_support.h"

namespace orvenda::markers {
namespace {

using ::testing::HasSubstr;
using testsupport::readBytes;
using testsupport::TempFolder;
namespace fs = std::filesystem;

bool written(const std::variant<std::monostate, MarkerFileError>& result) {
    if (const auto* error = std::get_if<MarkerFileError>(&result)) ADD_FAILURE() << error->message;
    return std::holds_alternative<std::monostate>(result);
}

std::string failureOf(const std::variant<std::monostate, MarkerFileError>& result) {
    if (std::holds_alternative<std::monostate>(result)) {
        ADD_FAILURE() << "the write was reported as done";
        return {};
    }
    return std::get<MarkerFileError>(result).message;
}

// Only the file itself: no temporary file is left beside it.
std::vector<std::string> namesIn(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

struct WrittenFormCase {
    const char* name;
    std::vector<MarkerPoint> points;
    std::string bytes;
};
void PrintTo(const WrittenFormCase& c, std::ostream* out) { *out << c.name; }

class WrittenForm : public ::testing::TestWithParam<WrittenFormCase> {};

TEST_P(WrittenForm, IsOneTabSeparatedCrLfLinePerPoint) {
    const WrittenFormCase& c = GetParam();
    TempFolder folder;
    const std::string path = folder.path("list.dat");
    ASSERT_TRUE(written(writeMarkerFile(path, c.points)));
    EXPECT_EQ(readBytes(path), c.bytes);
    EXPECT_EQ(namesIn(folder.root()), std::vector<std::string>{"list.dat"});
}

INSTANTIATE_TEST_SUITE_P(
    Writer, WrittenForm,
    ::testing::Values(WrittenFormCase{"ThreeRows", {{0, 1}, {100, 0}, {200, 1}}, "0\t1\r\n100\t0\r\n200\t1\r\n"},
                      WrittenFormCase{"EmptyList", {}, ""}, WrittenFormCase{"Negatives", {{-4, -1}}, "-4\t-1\r\n"},
                      WrittenFormCase{"Int32Ends", {{INT32_MIN, INT32_MAX}}, "-2147483648\t2147483647\r\n"}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(MarkerFileRoundTrip, ReadsBackWhatWasWritten) {
    std::mt19937 random(20261208);
    std::uniform_int_distribution<int32_t> any(INT32_MIN, INT32_MAX);
    for (int count : {0, 1, 999, 1000, int{HALVIK_MARKER_LIST_ENTRIES}}) {
        std::vector<MarkerPoint> points(static_cast<std::size_t>(count));
        for (MarkerPoint& p : points) p = MarkerPoint{any(random), any(random)};
        TempFolder folder;
        const std::string path = folder.path("trip.txt");
        ASSERT_TRUE(written(writeMarkerFile(path, points)));
        const auto result = readMarkerFile(path);
        ASSERT_TRUE(std::holds_alternative<MarkerFileContents>(result)) << count;
        EXPECT_EQ(std::get<MarkerFileContents>(result).points, points) << count;
        EXPECT_FALSE(std::get<MarkerFileContents>(result).pointsDropped);
    }
}

TEST(MarkerFileReplace, ReplacesAnExistingFileKeepingItsPermissions) {
    TempFolder folder;
    const std::string path = folder.write("old.dat", "9\t9\r\n8\t8\r\n7\t7\r\n");
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    ASSERT_TRUE(written(writeMarkerFile(path, std::vector<MarkerPoint>{{0, 1}})));
    EXPECT_EQ(readBytes(path), "0\t1\r\n");
    EXPECT_EQ(fs::status(path).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    ASSERT_TRUE(written(writeMarkerFile(path, {})));
    EXPECT_EQ(fs::file_size(path), 0u) << "an empty list empties the file";
    EXPECT_EQ(namesIn(folder.root()), std::vector<std::string>{"old.dat"});
}

TEST(MarkerFileReplace, WritesThroughALinkIntoItsTarget) {
    TempFolder folder;
    const std::string target = folder.write("target.dat", "old");
    const std::string link = folder.path("link.dat");
    fs::create_symlink(target, link);
    ASSERT_TRUE(written(writeMarkerFile(link, std::vector<MarkerPoint>{{2, 1}})));
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(readBytes(target), "2\t1\r\n");
}

TEST(MarkerFileReplace, NameWithoutFolderIsInTheWorkingFolder) {
    TempFolder folder;
    const fs::path before = fs::current_path();
    fs::current_path(folder.root());
    const bool ok = written(writeMarkerFile("plain.dat", std::vector<MarkerPoint>{{4, 0}}));
    fs::current_path(before);
    ASSERT_TRUE(ok);
    EXPECT_EQ(readBytes(folder.path("plain.dat")), "4\t0\r\n");
}

// A name near the 255-byte limit is saved too: the temporary file's name is
// shortened, not the list refused. Replacing keeps the old file's place.
TEST(MarkerFileReplace, LongestNamesAreSaved) {
    TempFolder folder;
    const std::string path = folder.path(std::string(250, 'm') + ".dat");
    ASSERT_TRUE(written(writeMarkerFile(path, std::vector<MarkerPoint>{{1, 1}})));
    ASSERT_TRUE(written(writeMarkerFile(path, std::vector<MarkerPoint>{{2, 0}})));
    EXPECT_EQ(readBytes(path), "2\t0\r\n");
    EXPECT_EQ(namesIn(folder.root()), std::vector<std::string>{std::string(250, 'm') + ".dat"});
}

struct UnwritablePathCase {
    const char* name;
    const char* relativePath;  // inside the scratch folder
};
void PrintTo(const UnwritablePathCase& c, std::ostream* out) { *out << c.name; }

class UnwritablePath : public ::testing::TestWithParam<UnwritablePathCase> {};

TEST_P(UnwritablePath, IsReportedWithItsName) {
    TempFolder folder;
    folder.write("file.dat", "x");
    fs::create_directory(folder.path("folder.dat"));
    const std::string path = folder.path(GetParam().relativePath);
    EXPECT_THAT(failureOf(writeMarkerFile(path, std::vector<MarkerPoint>{{0, 1}})), HasSubstr("\"" + path + "\""));
    EXPECT_EQ(readBytes(folder.path("file.dat")), "x");
    EXPECT_EQ(namesIn(folder.root()), (std::vector<std::string>{"file.dat", "folder.dat"}));
}

INSTANTIATE_TEST_SUITE_P(Writer, UnwritablePath,
                         ::testing::Values(UnwritablePathCase{"MissingFolder", "no/such/folder/list.dat"},
                                           UnwritablePathCase{"FileAsFolder", "file.dat/list.dat"},
                                           UnwritablePathCase{"AFolder", "folder.dat"}),
                         [](const auto& row) { return std::string(row.param.name); });

TEST(MarkerFileFailure, FullDeviceIsReported) {
    ASSERT_TRUE(fs::exists("/dev/full"));
    EXPECT_THAT(failureOf(writeMarkerFile("/dev/full", std::vector<MarkerPoint>{{0, 1}})),
                ::testing::AllOf(HasSubstr("\"/dev/full\""), HasSubstr("No space left")));
    EXPECT_TRUE(fs::is_character_file("/dev/full")) << "a device is written, never replaced";
}

// Files may grow to `bytes` only, as on a disk about to be full.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        ::getrlimit(RLIMIT_FSIZE, &saved_);
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = saved_;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, oldHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    rlimit saved_{};
    void (*oldHandler_)(int) = nullptr;
};

TEST(MarkerFileFailure, DiskFullMidWriteLeavesTheOldFileWhole) {
    TempFolder folder;
    const std::string old = "0\t1\r\n100\t0\r\n";
    const std::string path = folder.write("keep.dat", old);
    std::vector<MarkerPoint> many(1000, MarkerPoint{123456, 1});
    std::string message;
    {
        FileSizeLimit limit(4096);
        message = failureOf(writeMarkerFile(path, many));
    }
    EXPECT_THAT(message, ::testing::AllOf(HasSubstr("\"" + path + "\""), HasSubstr("left as it was")));
    EXPECT_EQ(readBytes(path), old);
    EXPECT_EQ(namesIn(folder.root()), std::vector<std::string>{"keep.dat"}) << "the partial file is removed";
}

// A folder the writer may not change. Root may change any folder, so under
// root the write runs in a child process that has given up root first.
struct ReadOnlyFolderCase {
    const char* name;
    fs::perms fileMode;
    bool saved;  // written in place; otherwise refused and kept
};
void PrintTo(const ReadOnlyFolderCase& c, std::ostream* out) { *out << c.name; }

class ReadOnlyFolder : public ::testing::TestWithParam<ReadOnlyFolderCase> {};

TEST_P(ReadOnlyFolder, RefusesOrWritesInPlace) {
    const ReadOnlyFolderCase& c = GetParam();
    TempFolder folder;
    const std::string path = folder.write("keep.dat", "5\t1\r\n");
    fs::permissions(path, c.fileMode);
    fs::permissions(folder.root(), fs::perms::owner_read | fs::perms::owner_exec | fs::perms::group_read |
                                       fs::perms::group_exec | fs::perms::others_read | fs::perms::others_exec);
    // Forked, not re-run: the child must write into this test's folder.
    ::testing::FLAGS_gtest_death_test_style = "fast";
    EXPECT_EXIT(
        {
            if (::geteuid() == 0 && ::setuid(65534) != 0) std::_Exit(3);
            const auto result = writeMarkerFile(path, std::vector<MarkerPoint>{{0, 1}});
            if (const auto* error = std::get_if<MarkerFileError>(&result)) {
                std::fprintf(stderr, "%s\n", error->message.c_str());
                std::_Exit(c.saved ? 1 : 0);
            }
            std::fprintf(stderr, "saved\n");
            std::_Exit(c.saved ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), c.saved ? "saved" : "keep\\.dat.*Permission denied.*left as it was");
    EXPECT_EQ(readBytes(path), c.saved ? "0\t1\r\n" : "5\t1\r\n");
    EXPECT_EQ(namesIn(folder.root()), std::vector<std::string>{"keep.dat"});
}

// A write-protected file in a folder anyone may change: the folder would let
// the writer replace it, yet the protection says no.
TEST(MarkerFileFailure, WriteProtectedFileInAWritableFolderIsKept) {
    TempFolder folder;
    const std::string path = folder.write("keep.dat", "5\t1\r\n");
    fs::permissions(path, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    fs::permissions(folder.root(), fs::perms::all);
    ::testing::FLAGS_gtest_death_test_style = "fast";
    EXPECT_EXIT(
        {
            if (::geteuid() == 0 && ::setuid(65534) != 0) std::_Exit(3);
            const auto result = writeMarkerFile(path, std::vector<MarkerPoint>{{0, 1}});
            if (const auto* error = std::get_if<MarkerFileError>(&result)) {
                std::fprintf(stderr, "%s\n", error->message.c_str());
                std::_Exit(0);
            }
            std::fprintf(stderr, "saved\n");
            std::_Exit(1);
        },
        ::testing::ExitedWithCode(0), "keep\\.dat.*Permission denied.*left as it was");
    EXPECT_EQ(readBytes(path), "5\t1\r\n");
    EXPECT_EQ(namesIn(folder.root()), std::vector<std::string>{"keep.dat"});
}

INSTANTIATE_TEST_SUITE_P(
    Writer, ReadOnlyFolder,
    ::testing::Values(ReadOnlyFolderCase{"ReadOnlyFileIsKept",
                                         fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read, false},
                      ReadOnlyFolderCase{"WritableFileIsWrittenInPlace",
                                         fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                                             fs::perms::group_write | fs::perms::others_read | fs::perms::others_write,
                                         true}),
    [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace orvenda::markers
