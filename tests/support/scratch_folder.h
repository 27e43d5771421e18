// A fresh folder under the system's temporary folder for one test, removed
// with everything in it afterwards (also when a test took its permissions
// away). Shared by the tests of every area.
#ifndef ORVENDA_TESTS_SUPPORT_SCRATCH_FOLDER_H
#define ORVENDA_TESTS_SUPPORT_SCRATCH_FOLDER_H

#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <system_error>
#include <vector>

namespace orvenda::testsupport {

class ScratchFolder {
public:
    explicit ScratchFolder(const std::string& prefix = "orvenda-test") {
        std::string pattern = (std::filesystem::temp_directory_path() / (prefix + "-XXXXXX")).string();
        if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("cannot create a scratch folder");
        root_ = pattern;
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::permissions(root_, std::filesystem::perms::owner_all, ignored);
        std::filesystem::remove_all(root_, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::filesystem::path& path() const { return root_; }
    const std::filesystem::path& root() const { return root_; }
    // The path of `name` inside the folder.
    std::string path(const std::string& name) const { return (root_ / name).string(); }
    std::string file(const std::string& name) const { return path(name); }
    // Writes `bytes` as the file `name` and returns its path.
    std::string write(const std::string& name, const std::string& bytes) const {
        std::ofstream(path(name), std::ios::binary) << bytes;
        return path(name);
    }
    // The names of the folder's entries, in directory order.
    std::vector<std::string> entries() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(root_)) names.push_back(entry.path().filename());
        return names;
    }

private:
    std::filesystem::path root_;
};

}  // namespace orvenda::testsupport

#endif
