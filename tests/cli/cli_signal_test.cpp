// orvenda-cli stopped by a real signal in the middle of a real conversion:
// the temporary file beside the output is gone, an earlier output of that
// name is as it was, outputs already written stay, one line tells of the
// interruption, and the program ends by the signal (the shell reports 130,
// 143 or 129).
#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <ostream>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "tests/cli/program_run.h"

namespace orvenda::cli::test {
namespace {

namespace fs = std::filesystem;

// Enough zero samples after a short input that the two passes of an IF
// conversion take a while, yet the file stays small while it is stopped.
const std::vector<std::string> kLongConversion = {"--if", "real", "--data-size", "4194304", "--fs", "100"};

std::vector<std::string> joined(std::vector<std::string> a, const std::vector<std::string>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// A child process with stdout and stderr in files of the scratch folder.
class Child {
public:
    Child(const std::vector<std::string>& argv, const ScratchFolder& scratch) : scratch_(scratch) {
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, scratch.file(".out").c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0644);
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, scratch.file(".err").c_str(),
                                         O_WRONLY | O_CREAT | O_TRUNC, 0644);
        std::vector<char*> args;
        for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
        args.push_back(nullptr);
        if (posix_spawn(&pid_, args[0], &actions, nullptr, args.data(), environ) != 0) pid_ = -1;
        posix_spawn_file_actions_destroy(&actions);
    }
    ~Child() {
        if (pid_ > 0 && status_ < 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
    }
    pid_t pid() const { return pid_; }
    int wait() {
        if (pid_ > 0 && status_ < 0) ::waitpid(pid_, &status_, 0);
        return status_;
    }
    std::string err() const { return readFile(scratch_.file(".err")); }

private:
    const ScratchFolder& scratch_;
    pid_t pid_ = -1;
    int status_ = -1;
};

// The temporary files "." NAME ".tmp" PID "-" N in `folder`.
std::vector<std::string> temporaryFiles(const fs::path& folder, const std::string& name) {
    std::vector<std::string> found;
    for (const auto& entry : fs::directory_iterator(folder)) {
        const std::string file = entry.path().filename().string();
        if (file.rfind("." + name + ".tmp", 0) == 0) found.push_back(file);
    }
    return found;
}

// Waits until the conversion into `name` has its temporary file; the
// process id its name carries, or 0 when none appeared in time. Files of
// process `other` are not looked at.
pid_t waitForTemporaryFile(const fs::path& folder, const std::string& name, pid_t other = 0) {
    const std::string start = "." + name + ".tmp";
    for (int tries = 0; tries < 60000; ++tries) {
        for (const std::string& file : temporaryFiles(folder, name)) {
            const std::string rest = file.substr(start.size());
            const auto pid = static_cast<pid_t>(std::stol(rest.substr(0, rest.find('-'))));
            if (pid != other) return pid;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return 0;
}

struct SignalCase {
    const char* name;
    int signal;
    const char* status;
};

// Rows are named in test output by their name, not by a dump of their bytes.
void PrintTo(const SignalCase& row, std::ostream* os) { *os << row.name; }

class CliSignal : public ::testing::TestWithParam<SignalCase> {};

TEST_P(CliSignal, RemovesTheTemporaryFileKeepsTheOldOutputAndEndsByTheSignal) {
    const SignalCase& row = GetParam();
    ScratchFolder scratch;
    writeFile(scratch.file("in.csv"), "0.5,0.25\n-0.5,0\n0,0\n1,1\n");
    writeFile(scratch.file("out.awv"), "an earlier waveform file");
    writeFile(scratch.file(".out.awv.tmp1-0"), "another process's temporary file");
    // Through a shell, as a script runs it: the shell reports the status.
    Child shell({"/bin/sh", "-c", "\"$0\" \"$@\"; echo \"status $?\" >&2", ORVENDA_CLI_PROGRAM, "convert",
                 scratch.file("in.csv"), "-o", scratch.file("out.awv"), kLongConversion[0], kLongConversion[1],
                 kLongConversion[2], kLongConversion[3], kLongConversion[4], kLongConversion[5]},
                scratch);
    ASSERT_GT(shell.pid(), 0);
    const pid_t cli = waitForTemporaryFile(scratch.path(), "out.awv", 1);
    ASSERT_GT(cli, 1) << "no conversion started: " << shell.err();
    ASSERT_EQ(::kill(cli, row.signal), 0);
    const int status = shell.wait();
    ASSERT_TRUE(WIFEXITED(status));

    EXPECT_EQ(readFile(scratch.file("out.awv")), "an earlier waveform file");
    EXPECT_EQ(temporaryFiles(scratch.path(), "out.awv"), std::vector<std::string>{".out.awv.tmp1-0"});
    // The program's one line first; the shell may add its own word
    // ("Terminated") before the status it reports.
    const std::string err = shell.err();
    const std::string line = "orvenda-cli: conversion interrupted (" + std::string(row.name) + "); \"" +
                             scratch.file("out.awv") + "\" was not written\n";
    EXPECT_EQ(err.substr(0, line.size()), line) << err;
    const std::string reported = std::string("status ") + row.status + "\n";
    EXPECT_EQ(err.substr(err.size() - std::min(err.size(), reported.size())), reported) << err;
}

INSTANTIATE_TEST_SUITE_P(Signals, CliSignal,
                         ::testing::Values(SignalCase{"SIGINT", SIGINT, "130"}, SignalCase{"SIGTERM", SIGTERM, "143"},
                                           SignalCase{"SIGHUP", SIGHUP, "129"}),
                         [](const auto& row) { return std::string(row.param.name); });

// A batch stopped by a signal to the program (not to its children): with
// one conversion at a time, during the second input; with three at once,
// while all run in child processes. No temporary file stays, the second
// input's earlier file stays as it was, an output is either complete or not
// there, nothing is written afterwards, and one line tells of it.
struct BatchCase {
    const char* name;
    const char* jobs;
};

void PrintTo(const BatchCase& row, std::ostream* os) { *os << row.name; }

class CliSignalBatch : public ::testing::TestWithParam<BatchCase> {};

TEST_P(CliSignalBatch, InputsAlreadyConvertedStayConvertedAndNothingIsLeft) {
    const bool oneAtATime = std::string(GetParam().jobs) == "1";
    ScratchFolder scratch;
    for (const char* name : {"a.csv", "b.csv", "c.csv"}) writeFile(scratch.file(name), "0.5,0.25\n-0.5,0\n0,0\n1,1\n");
    fs::create_directories(scratch.file("out"));
    writeFile(scratch.file("out/b.awv"), "b as it was");
    Child cli(joined({ORVENDA_CLI_PROGRAM, "convert", scratch.file("a.csv"), scratch.file("b.csv"),
                      scratch.file("c.csv"), "-d", scratch.file("out"), "--jobs", GetParam().jobs},
                     kLongConversion),
              scratch);
    ASSERT_GT(cli.pid(), 0);
    const pid_t writer = waitForTemporaryFile(scratch.file("out"), "b.awv");
    ASSERT_GT(writer, 0) << cli.err();
    EXPECT_EQ(writer == cli.pid(), oneAtATime) << "the conversion runs in the program itself only one at a time";
    ASSERT_EQ(::kill(cli.pid(), SIGINT), 0);
    const int status = cli.wait();
    ASSERT_TRUE(WIFSIGNALED(status)) << "status " << status;
    EXPECT_EQ(WTERMSIG(status), SIGINT);

    const auto outputs = [&] {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(scratch.file("out")))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    };
    const std::vector<std::string> left = outputs();
    for (const std::string& name : left) EXPECT_EQ(name.find(".tmp"), std::string::npos) << name;
    EXPECT_EQ(readFile(scratch.file("out/b.awv")), "b as it was");
    if (oneAtATime) {
        EXPECT_TRUE(fs::exists(scratch.file("out/a.awv")));
    }
    EXPECT_FALSE(fs::exists(scratch.file("out/c.awv")));
    if (!oneAtATime) {
        EXPECT_NE(::kill(writer, 0), 0) << "the child converting b is gone";
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_EQ(outputs(), left) << "nothing is written after the program has ended";
    // The program names the file it was writing itself; children's files
    // are their own.
    EXPECT_EQ(cli.err(), oneAtATime ? "orvenda-cli: conversion interrupted (SIGINT); \"" + scratch.file("out/b.awv") +
                                          "\" was not written\n"
                                    : std::string("orvenda-cli: conversion interrupted (SIGINT)\n"));

    // Any output there is the whole file a run of its own writes.
    if (fs::exists(scratch.file("out/a.awv"))) {
        ASSERT_EQ(
            runProgram(ORVENDA_CLI_PROGRAM,
                       joined({"convert", scratch.file("a.csv"), "-o", scratch.file("alone.awv")}, kLongConversion),
                       scratch)
                .exitCode,
            0);
        const std::string written = readFile(scratch.file("out/a.awv"));
        EXPECT_EQ(written.size(), readFile(scratch.file("alone.awv")).size());
        EXPECT_TRUE(withoutDateLine(written) == withoutDateLine(readFile(scratch.file("alone.awv"))));
    }
}

INSTANTIATE_TEST_SUITE_P(Jobs, CliSignalBatch,
                         ::testing::Values(BatchCase{"OneAtATime", "1"}, BatchCase{"InChildProcesses", "3"}),
                         [](const auto& row) { return std::string(row.param.name); });

// Stopped before any conversion has started (while the input is still
// being read) nothing is removed, and the line names no file.
TEST(CliSignalStart, BeforeAnyConversionNothingIsTouched) {
    ScratchFolder scratch;
    writeFile(scratch.file(".in.awv.tmp1-0"), "not ours");
    // A fifo as input: the load reads until a writer closes it.
    ASSERT_EQ(::mkfifo(scratch.file("in.csv").c_str(), 0600), 0);
    Child cli({ORVENDA_CLI_PROGRAM, "convert", scratch.file("in.csv"), "-o", scratch.file("in.awv")}, scratch);
    ASSERT_GT(cli.pid(), 0);
    int writer = -1;
    for (int tries = 0; tries < 30000 && writer < 0; ++tries) {
        writer = ::open(scratch.file("in.csv").c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);  // once it reads
        if (writer < 0) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    ASSERT_GE(writer, 0) << cli.err();
    ASSERT_EQ(::write(writer, "0.5,0.25\n", 9), 9);
    ASSERT_EQ(::kill(cli.pid(), SIGTERM), 0);
    const int status = cli.wait();
    ::close(writer);
    ASSERT_TRUE(WIFSIGNALED(status));
    EXPECT_EQ(WTERMSIG(status), SIGTERM);
    EXPECT_EQ(cli.err(), "orvenda-cli: conversion interrupted (SIGTERM)\n");
    EXPECT_EQ(readFile(scratch.file(".in.awv.tmp1-0")), "not ours");
    EXPECT_FALSE(fs::exists(scratch.file("in.awv")));
}

// A parallel batch: the signal reaches the parent, which passes it on to the
// conversions running in child processes; each removes its own temporary
// file, and the earlier files stay as they were.
TEST(CliSignalParallel, ConversionsAreStoppedWithoutLeftovers) {
    ScratchFolder scratch;
    for (const char* name : {"a.csv", "b.csv"}) writeFile(scratch.file(name), "0.5,0.25\n-0.5,0\n0,0\n1,1\n");
    fs::create_directories(scratch.file("out"));
    writeFile(scratch.file("out/a.awv"), "a as it was");
    writeFile(scratch.file("out/b.awv"), "b as it was");
    Child cli(joined({ORVENDA_CLI_PROGRAM, "convert", "-j", "2", scratch.file("a.csv"), scratch.file("b.csv"), "-d",
                      scratch.file("out")},
                     kLongConversion),
              scratch);
    ASSERT_GT(cli.pid(), 0);
    const pid_t worker = waitForTemporaryFile(scratch.file("out"), "b.awv");
    ASSERT_GT(worker, 0) << cli.err();
    EXPECT_NE(worker, cli.pid());
    ASSERT_EQ(::kill(cli.pid(), SIGTERM), 0);
    const int status = cli.wait();
    ASSERT_TRUE(WIFSIGNALED(status)) << "status " << status;
    EXPECT_EQ(WTERMSIG(status), SIGTERM);
    EXPECT_EQ(readFile(scratch.file("out/b.awv")), "b as it was");
    EXPECT_TRUE(temporaryFiles(scratch.file("out"), "a.awv").empty());
    EXPECT_TRUE(temporaryFiles(scratch.file("out"), "b.awv").empty());
    EXPECT_NE(::kill(worker, 0), 0) << "the conversion in the child process still runs";
}

}  // namespace
}  // namespace orvenda::cli::test
