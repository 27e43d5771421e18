// The waveform file appears whole or not at all.
#include <sys/resource.h>
#include <sys/stat.h>
#include <csignal>
#include <string>

#include <gtest/gtest.h>

#include "engine/output_file.h"
#include "tests/engine/engine_test_support.h"

namespace halvik {
namespace {

using test::readFile;
using test::ScratchDir;
using test::writeFile;

TEST(OutputFile, CommitReplacesTheOutputAndLeavesNoTemporaryFile) {
    ScratchDir dir;
    writeFile(dir.file("out.awv"), "old content");
    auto out = OutputFile::create(dir.file("out.awv"));
    ASSERT_TRUE(out);
    out->write("new ");
    std::string big(3 * OutputFile::kBufferSize + 17, 'x');
    out->write(big);
    EXPECT_EQ(readFile(dir.file("out.awv")), "old content") << "nothing shows before the commit";
    ASSERT_TRUE(out->commit());
    EXPECT_EQ(readFile(dir.file("out.awv")), "new " + big);
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"out.awv"});
}

TEST(OutputFile, WithoutCommitTheOutputStaysAsItWas) {
    ScratchDir dir;
    writeFile(dir.file("kept.awv"), "kept");
    {
        auto out = OutputFile::create(dir.file("kept.awv"));
        ASSERT_TRUE(out);
        out->write("half written");
    }
    EXPECT_EQ(readFile(dir.file("kept.awv")), "kept");
    {
        auto out = OutputFile::create(dir.file("absent.awv"));
        ASSERT_TRUE(out);
        out->write("half written");
    }
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"kept.awv"}) << "absent stays absent, no temporary file";
}

TEST(OutputFile, KeepsThePermissionBitsOfTheFileItReplaces) {
    ScratchDir dir;
    writeFile(dir.file("out.awv"), "old");
    ASSERT_EQ(::chmod(dir.file("out.awv").c_str(), 0640), 0);
    auto out = OutputFile::create(dir.file("out.awv"));
    ASSERT_TRUE(out);
    ASSERT_TRUE(out->commit());
    struct stat status {};
    ASSERT_EQ(::stat(dir.file("out.awv").c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0640u);
}

TEST(OutputFile, AcceptsANameThatFillsTheFileSystemsNameLimit) {
    ScratchDir dir;
    const std::string name = std::string(251, 'n') + ".awv";  // 255 bytes, the longest name allowed
    auto out = OutputFile::create(dir.file(name));
    ASSERT_TRUE(out) << "the temporary file's name must fit the limit too";
    out->write("data");
    ASSERT_TRUE(out->commit());
    EXPECT_EQ(readFile(dir.file(name)), "data");
    EXPECT_EQ(dir.entries(), std::vector<std::string>{name});
}

TEST(OutputFile, CannotBeCreatedWhereNoFileCanBe) {
    ScratchDir dir;
    EXPECT_FALSE(OutputFile::create(dir.file("missing/out.awv")));
    EXPECT_FALSE(OutputFile::create(dir.path().string())) << "a folder";
    EXPECT_FALSE(OutputFile::create(""));
    EXPECT_FALSE(OutputFile::create(dir.file("..")));
}

TEST(OutputFile, NeverReplacesAFileThatIsNoRegularFile) {
    ScratchDir dir;
    ASSERT_EQ(::mkfifo(dir.file("pipe").c_str(), 0644), 0);
    EXPECT_FALSE(OutputFile::create(dir.file("pipe"))) << "renaming over it would turn it into a plain file";
    struct stat status {};
    ASSERT_EQ(::lstat(dir.file("pipe").c_str(), &status), 0);
    EXPECT_TRUE(S_ISFIFO(status.st_mode));
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"pipe"});
}

// A file size limit makes the writes fail as a full disk would.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        previousHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &previous_);
        rlimit limited = previous_;
        limited.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~FileSizeLimit() {
        setrlimit(RLIMIT_FSIZE, &previous_);
        std::signal(SIGXFSZ, previousHandler_);
    }

private:
    rlimit previous_{};
    void (*previousHandler_)(int);
};

TEST(OutputFile, AFailingWriteFailsTheCommitAndKeepsTheOldFile) {
    ScratchDir dir;
    writeFile(dir.file("out.awv"), "old content");
    auto out = OutputFile::create(dir.file("out.awv"));
    ASSERT_TRUE(out);
    bool committed = true;
    {
        FileSizeLimit limit(4096);
        out->write(std::string(2 * OutputFile::kBufferSize, 'x'));
        committed = out->commit();
    }
    EXPECT_FALSE(committed);
    EXPECT_EQ(readFile(dir.file("out.awv")), "old content");
    EXPECT_EQ(dir.entries(), std::vector<std::string>{"out.awv"});
}

}  // namespace
}  // namespace halvik

namespace halvik {
namespace {

TEST(OutputFile, WritesThroughASymbolicLink) {
    test::ScratchDir dir;
    test::writeFile(dir.file("target.awv"), "old");
    std::filesystem::create_symlink(dir.file("target.awv"), dir.file("link.awv"));
    auto out = OutputFile::create(dir.file("link.awv"));
    ASSERT_TRUE(out);
    out->write("new");
    ASSERT_TRUE(out->commit());
    EXPECT_TRUE(std::filesystem::is_symlink(dir.file("link.awv")));
    EXPECT_EQ(test::readFile(dir.file("target.awv")), "new");
}

}  // namespace
}  // namespace halvik
