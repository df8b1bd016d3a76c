#include "path_test_tree.h"

#include <windows.h>

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

using testing_tree::PlatformForm;
using testing_tree::TempTree;
using testing_tree::WorkingFolder;

struct Resolved {
    DWORD result;
    std::string path;
    std::string finalComponent; // "(none)" when the path has none
};

Resolved FullPath(const char* name) {
    char buffer[1024];
    char* filePart = buffer; // must be overwritten
    const DWORD result = GetFullPathNameA(name, sizeof buffer, buffer, &filePart);
    return {result, result != 0 ? buffer : "", filePart != nullptr ? filePart : "(none)"};
}

TEST(FullPathName, ResolvesDotsAndSeparatorsByText) {
    const struct {
        const char* name;
        std::string path;
        std::string finalComponent;
    } cases[] = {
        {"C:\\a\\b\\..\\c\\.\\d.x", "C:\\a\\c\\d.x", "d.x"},
        {"c:/a//b/./c/", "C:\\a\\b\\c\\", "(none)"},
        {"C:\\..\\..", "C:\\", "(none)"},
        {"/", "C:\\", "(none)"},
        {"\\\\x", "C:\\x", "x"},
        {"d:\\x\\..\\y\\", "D:\\y\\", "(none)"},
    };
    for (const auto& c : cases) {
        const Resolved got = FullPath(c.name);
        EXPECT_EQ(got.result, c.path.size()) << c.name;
        EXPECT_EQ(got.path, c.path) << c.name;
        EXPECT_EQ(got.finalComponent, c.finalComponent) << c.name;
    }
}

TEST(FullPathName, RelativeNamesStartAtTheWorkingFolder) {
    TempTree tree;
    const auto folder = tree.Folder("work");
    WorkingFolder cwd(folder);
    const std::string here = PlatformForm(folder);
    EXPECT_EQ(FullPath(".").path, here);
    EXPECT_EQ(FullPath(".").finalComponent, "work");
    EXPECT_EQ(FullPath("sub/f.txt").path, here + "\\sub\\f.txt");
    EXPECT_EQ(FullPath("C:f.txt").path, here + "\\f.txt");
    EXPECT_EQ(FullPath("..\\..").path, PlatformForm(folder.parent_path().parent_path()));
}

TEST(FullPathName, AscendingEndsAtTheRootWhichHasNoFinalComponent) {
    std::string path = "C:\\one\\two\\three";
    int steps = 0;
    for (;;) {
        const Resolved got = FullPath((path + "\\..").c_str());
        path = got.path;
        ++steps;
        if (got.finalComponent == "(none)") {
            break;
        }
        ASSERT_LT(steps, 10);
    }
    EXPECT_EQ(path, "C:\\");
    EXPECT_EQ(steps, 3);
}

TEST(FullPathName, ASmallBufferIsLeftAloneAndTheNeededSizeReturned) {
    char buffer[8] = "keep";
    EXPECT_EQ(GetFullPathNameA("C:\\abcdefg", sizeof buffer, buffer, nullptr), 11u);
    EXPECT_STREQ(buffer, "keep");
    char exact[11];
    EXPECT_EQ(GetFullPathNameA("C:\\abcdefg", sizeof exact, exact, nullptr), 10u);
    EXPECT_STREQ(exact, "C:\\abcdefg");
    EXPECT_EQ(GetFullPathNameA("C:\\abc", 0, nullptr, nullptr), 7u);

    EXPECT_EQ(GetFullPathNameA("", sizeof buffer, buffer, nullptr), 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_NAME));
}

TEST(FileAttributes, ReportsKindAndPermissionsOfRealFiles) {
    TempTree tree;
    const std::string root = PlatformForm(tree.Root());
    tree.File("plain.txt");
    tree.File(".hidden");
    ::chmod(tree.File("locked.txt").c_str(), 0444);
    tree.Folder("folder");

    EXPECT_EQ(GetFileAttributesA((root + "\\plain.txt").c_str()),
              static_cast<DWORD>(FILE_ATTRIBUTE_NORMAL));
    EXPECT_EQ(GetFileAttributesA((root + "/.hidden").c_str()),
              static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN));
    EXPECT_EQ(GetFileAttributesA((root + "\\locked.txt").c_str()),
              static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(GetFileAttributesA((root + "\\folder\\").c_str()),
              static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
    EXPECT_EQ(GetFileAttributesA("C:\\"), static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
}

TEST(FileAttributes, FailuresTellAMissingFileFromAMissingFolder) {
    TempTree tree;
    const std::string root = PlatformForm(tree.Root());
    const struct {
        std::string name;
        DWORD error;
    } cases[] = {
        {root + "\\missing.txt", ERROR_FILE_NOT_FOUND},
        {root + "\\nowhere\\missing.txt", ERROR_PATH_NOT_FOUND},
        {"D:\\" + root.substr(3), ERROR_PATH_NOT_FOUND},
        {"", ERROR_INVALID_NAME},
    };
    for (const auto& c : cases) {
        SetLastError(0);
        EXPECT_EQ(GetFileAttributesA(c.name.c_str()), INVALID_FILE_ATTRIBUTES) << c.name;
        EXPECT_EQ(GetLastError(), c.error) << c.name;
    }
}

TEST(FileAttributes, DotDotIsResolvedBeforeTheFileSystemSeesALink) {
    TempTree tree;
    tree.File("work/here.txt");
    tree.File("elsewhere/deep/there.txt");
    std::filesystem::create_directory_symlink(tree.Root() / "elsewhere/deep",
                                              tree.Root() / "work/link");
    WorkingFolder cwd(tree.Root() / "work");
    // As on the platform, "link\\.." is the working folder, not the link target's parent.
    EXPECT_NE(GetFileAttributesA("link\\..\\here.txt"), INVALID_FILE_ATTRIBUTES);
    EXPECT_NE(GetFileAttributesA("link\\there.txt"), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(GetFileAttributesA("link\\..\\deep\\there.txt"), INVALID_FILE_ATTRIBUTES);
}

} // namespace
