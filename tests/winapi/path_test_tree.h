#pragma once
// A private folder tree under /tmp for tests that touch the file system, removed afterwards, and
// a guard that moves the working folder for the length of a test.

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <unistd.h>

namespace testing_tree {

class TempTree {
public:
    TempTree() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "quillerby-XXXXXX").string();
        root_ = std::filesystem::canonical(::mkdtemp(pattern.data()));
    }
    ~TempTree() { std::filesystem::remove_all(root_); }
    TempTree(const TempTree&) = delete;
    TempTree& operator=(const TempTree&) = delete;

    const std::filesystem::path& Root() const { return root_; }

    std::filesystem::path Folder(const std::string& relative) const {
        const std::filesystem::path folder = root_ / relative;
        std::filesystem::create_directories(folder);
        return folder;
    }

    std::filesystem::path File(const std::string& relative) const {
        const std::filesystem::path file = root_ / relative;
        std::filesystem::create_directories(file.parent_path());
        std::ofstream(file) << "x";
        return file;
    }

private:
    std::filesystem::path root_;
};

// "C:" and the Linux path with backslashes: the stand-in's platform form of a Linux path.
inline std::string PlatformForm(const std::filesystem::path& linuxPath) {
    std::string text = "C:" + linuxPath.string();
    for (char& c : text) {
        if (c == '/') {
            c = '\\';
        }
    }
    return text;
}

class WorkingFolder {
public:
    explicit WorkingFolder(const std::filesystem::path& folder)
        : previous_(std::filesystem::current_path()) {
        std::filesystem::current_path(folder);
    }
    ~WorkingFolder() { std::filesystem::current_path(previous_); }
    WorkingFolder(const WorkingFolder&) = delete;
    WorkingFolder& operator=(const WorkingFolder&) = delete;

private:
    std::filesystem::path previous_;
};

} // namespace testing_tree
