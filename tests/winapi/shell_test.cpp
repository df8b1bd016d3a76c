#include "path_test_tree.h"

#include "winapi/hooks/shell.h"
#include <shellapi.h>
#include <windows.h>

#include <gtest/gtest.h>

namespace {

using testing_tree::PlatformForm;
using testing_tree::TempTree;
using testing_tree::WorkingFolder;

INT_PTR Open(const char* file, const char* directory = nullptr, const char* verb = "open") {
    return reinterpret_cast<INT_PTR>(ShellExecuteA(nullptr, verb, file, "--ignored", directory, 5));
}

class Shell : public testing::Test {
protected:
    void SetUp() override {
        winapi::hooks::SetOpenerHandler([this](const std::vector<std::string>& command) {
            commands.push_back(command);
            return opens;
        });
    }
    void TearDown() override {
        winapi::hooks::SetOpenerHandler(nullptr);
        winapi::hooks::SetOpenerProgram("");
    }

    TempTree tree;
    std::vector<std::vector<std::string>> commands;
    bool opens = true;
};

TEST_F(Shell, OpenHandsTheLinuxPathToTheOpenerAsOneArgument) {
    const auto file = tree.File("docs/read me; rm -rf $HOME.txt");
    EXPECT_GT(Open(PlatformForm(file).c_str()), 32);
    EXPECT_GT(
        Open("read me; rm -rf $HOME.txt", PlatformForm(tree.Root() / "docs").c_str(), nullptr), 32);
    const auto dashed = tree.File("-n");
    {
        WorkingFolder cwd(tree.Root());
        EXPECT_GT(Open("-n"), 32);
    }
    using Command = std::vector<std::string>;
    EXPECT_EQ(commands, (std::vector<Command>{{"xdg-open", file.string()},
                                              {"xdg-open", file.string()},
                                              {"xdg-open", dashed.string()}}));
}

TEST_F(Shell, FailuresReturnThePlatformsErrorValues) {
    const std::string root = PlatformForm(tree.Root());
    tree.File("there.txt");
    EXPECT_EQ(Open((root + "\\missing.txt").c_str()), SE_ERR_FNF);
    EXPECT_EQ(Open((root + "\\nowhere\\missing.txt").c_str()), SE_ERR_PNF);
    EXPECT_EQ(Open(""), SE_ERR_FNF);
    EXPECT_EQ(Open((root + "\\there.txt").c_str(), nullptr, "print"), SE_ERR_NOASSOC);
    EXPECT_TRUE(commands.empty());
    opens = false;
    EXPECT_EQ(Open((root + "\\there.txt").c_str()), SE_ERR_NOASSOC);
}

TEST_F(Shell, TheRealOpenerIsStartedAsAProcess) {
    winapi::hooks::SetOpenerHandler(nullptr);
    const std::string file = PlatformForm(tree.File("doc.txt"));
    winapi::hooks::SetOpenerProgram("quillerby-no-such-opener");
    EXPECT_EQ(Open(file.c_str()), SE_ERR_NOASSOC);
    winapi::hooks::SetOpenerProgram("true");
    EXPECT_GT(Open(file.c_str()), 32);
}

} // namespace
