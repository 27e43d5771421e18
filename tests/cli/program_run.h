// Running orvenda-cli as a separate process, as a script would, and keeping
// what it printed and its exit code. Also a scratch folder and file helpers.
#ifndef ORVENDA_TESTS_CLI_PROGRAM_RUN_H
#define ORVENDA_TESTS_CLI_PROGRAM_RUN_H

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "tests/support/scratch_folder.h"

extern char** environ;

namespace orvenda::cli::test {

inline std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// The file without its first line, the DATE line that holds the clock.
inline std::string withoutDateLine(const std::string& file) {
    auto feed = file.find('\n');
    return feed == std::string::npos ? std::string() : file.substr(feed + 1);
}

using orvenda::testsupport::ScratchFolder;

struct ProgramRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

// This process's environment with `changes` ("NAME=value") put in place of
// the variables of the same names.
inline std::vector<std::string> environmentWith(const std::vector<std::string>& changes) {
    std::vector<std::string> entries;
    for (char** e = environ; *e != nullptr; ++e) {
        const std::string entry = *e;
        const std::string name = entry.substr(0, entry.find('='));
        bool replaced = false;
        for (const std::string& change : changes) replaced = replaced || change.substr(0, change.find('=')) == name;
        if (!replaced) entries.push_back(entry);
    }
    entries.insert(entries.end(), changes.begin(), changes.end());
    return entries;
}

// Runs `program` with `args`; stdout and stderr go to files in `scratch`.
// `environment` changes ("NAME=value") apply to the child only.
inline ProgramRun runProgram(const std::string& program, const std::vector<std::string>& args,
                             const ScratchFolder& scratch, const std::vector<std::string>& environment = {}) {
    const std::string outPath = scratch.file(".stdout");
    const std::string errPath = scratch.file(".stderr");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    std::vector<char*> argv;
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    std::vector<std::string> environmentEntries = environmentWith(environment);
    std::vector<char*> envp;
    for (std::string& entry : environmentEntries) envp.push_back(entry.data());
    envp.push_back(nullptr);
    ProgramRun run;
    pid_t pid = 0;
    if (posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), envp.data()) == 0) {
        int status = 0;
        if (waitpid(pid, &status, 0) == pid && WIFEXITED(status)) run.exitCode = WEXITSTATUS(status);
    }
    posix_spawn_file_actions_destroy(&actions);
    run.out = readFile(outPath);
    run.err = readFile(errPath);
    return run;
}

}  // namespace orvenda::cli::test

#endif
