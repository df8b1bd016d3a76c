#include "util_test_support.h"

#include "util/readme.h"

#include "winapi/hooks/debug.h"
#include "winapi/hooks/shell.h"

#include <gtest/gtest.h>

namespace {

using namespace testing_tree;

class Readme : public testing::Test {
protected:
    void SetUp() override {
        winapi::hooks::SetOpenerHandler([this](const std::vector<std::string>& command) {
            opened.push_back(command.at(1));
            return opens(command.at(1));
        });
        winapi::hooks::SetMessageBoxHandler(
            [this](HWND owner, std::string_view text, std::string_view caption, UINT type) {
                boxes.push_back(std::string(caption) + "|" + std::string(text) + "|" +
                                std::to_string(type));
                EXPECT_EQ(owner, window);
                return IDOK;
            });
    }
    void TearDown() override {
        winapi::hooks::SetOpenerHandler(nullptr);
        winapi::hooks::SetMessageBoxHandler(nullptr);
    }

    // Opens and returns the Linux path of the one file the shell was asked to open.
    std::string OpenOnce(const char* sample = nullptr) {
        opened.clear();
        OpenReadme(window, sample);
        EXPECT_EQ(opened.size(), 1u);
        return opened.empty() ? "" : opened.back().substr(tree.Root().string().size() + 1);
    }

    TempTree tree;
    PrivateRegistry registry{tree};
    // The executable's folder D is below P1, which is below P2.
    PretendedExecutable exe{tree.Folder("p2/p1/bin") / "viewer.exe"};
    HWND window = reinterpret_cast<HWND>(0x1234);
    std::vector<std::string> opened;
    std::vector<std::string> boxes;
    std::function<bool(const std::string&)> opens = [](const std::string&) { return true; };
};

TEST_F(Readme, SearchesTheFoldersAroundTheExecutableInOrder) {
    const std::string order[] = {
        "p2/p1/viewer/readme.htm",
        "p2/p1/BumpMapping/viewer/readme.htm",
        "p2/p1/EnvMapping/viewer/readme.htm",
        "p2/p1/Meshes/viewer/readme.htm",
        "p2/p1/StencilBuffer/viewer/readme.htm",
        "p2/p1/bin/readme.htm",
        "p2/p1/readme.htm",
        "p2/readme.htm",
    };
    for (const std::string& file : order) {
        tree.File(file);
    }
    for (const std::string& file : order) {
        EXPECT_EQ(OpenOnce(), file);
        std::filesystem::remove(tree.Root() / file);
    }
    EXPECT_TRUE(boxes.empty());
    OpenReadme(window, nullptr);
    EXPECT_EQ(boxes, std::vector<std::string>{"DirectX SDK Sample|Could not find readme|48"});
}

TEST_F(Readme, TheTextReadmeIsTakenWhenNoPageOpens) {
    tree.File("p2/readme.txt");
    EXPECT_EQ(OpenOnce(), "p2/readme.txt");
    // A page that the shell cannot open falls back to the text as well.
    tree.File("p2/p1/bin/readme.htm");
    opens = [](const std::string& path) { return path.ends_with(".txt"); };
    opened.clear();
    OpenReadme(window, nullptr);
    EXPECT_EQ(opened.size(), 2u);
    EXPECT_EQ(opened.back(), (tree.Root() / "p2/readme.txt").string());
    EXPECT_TRUE(boxes.empty());
    // Nothing the shell opens: one message.
    opens = [](const std::string&) { return false; };
    OpenReadme(window, nullptr);
    EXPECT_EQ(boxes.size(), 1u);
}

TEST_F(Readme, TheSdkFolderComesFirstWhenASampleIsNamed) {
    RecordSdkSamplesPath(PlatformForm(tree.Folder("sdk")));
    tree.File("sdk/C++/Lighting/readme.htm");
    tree.File("p2/p1/bin/readme.htm");
    EXPECT_EQ(OpenOnce("Lighting"), "sdk/C++/Lighting/readme.htm");
    EXPECT_EQ(OpenOnce(nullptr), "p2/p1/bin/readme.htm") << "no sample: no SDK folder";
    EXPECT_EQ(OpenOnce("Other"), "p2/p1/bin/readme.htm");
}

} // namespace
