// What the programs' main() does before WinMain: the game's own options, and where an installed
// game finds its data and keeps its state.

#include "installed_layout.h"
#include "path_test_tree.h"
#include "program_options.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

using winapi::entry::ParseProgramOptions;
using winapi::entry::ProgramOptions;

std::variant<ProgramOptions, std::string> Parse(std::vector<std::string_view> arguments) {
    return ParseProgramOptions(arguments);
}

TEST(ProgramOptions, OursAreTakenAndTheRestPassedOnInOrder) {
    const auto parsed =
        Parse({"level", "--windowed", "--record", "ride.rec", "-", "--", "--help", "x y"});
    const auto* options = std::get_if<ProgramOptions>(&parsed);
    ASSERT_NE(options, nullptr);
    EXPECT_TRUE(options->windowed);
    EXPECT_EQ(options->recordFile, "ride.rec");
    EXPECT_FALSE(options->help || options->version);
    EXPECT_EQ(options->passedOn, (std::vector<std::string>{"level", "-", "--help", "x y"}));

    const auto joined = Parse({"--record=-odd name", "--version", "-h"});
    ASSERT_TRUE(std::holds_alternative<ProgramOptions>(joined));
    EXPECT_EQ(std::get<ProgramOptions>(joined).recordFile, "-odd name");
    EXPECT_TRUE(std::get<ProgramOptions>(joined).version && std::get<ProgramOptions>(joined).help);
}

TEST(ProgramOptions, UnknownOptionsAndARecordWithoutFileAreRefused) {
    for (const auto& arguments : std::vector<std::vector<std::string_view>>{
             {"--record"}, {"--windowed", "--record"}, {"--record="}, {"--record", ""}}) {
        const auto parsed = Parse(arguments);
        ASSERT_TRUE(std::holds_alternative<std::string>(parsed));
        EXPECT_EQ(std::get<std::string>(parsed), "--record needs a FILE");
    }
    for (const char* unknown : {"--bogus", "-w", "--Windowed", "--recording=x", "---"}) {
        const auto parsed = Parse({"--windowed", unknown});
        ASSERT_TRUE(std::holds_alternative<std::string>(parsed)) << unknown;
        EXPECT_EQ(std::get<std::string>(parsed), std::string("unknown option ") + unknown);
    }
}

TEST(InstalledLayout, OnlyAnExecutableWithDataBesideItsFolderIsInstalled) {
    testing_tree::TempTree tree;
    tree.File("prefix/bin/quillerby");
    EXPECT_EQ(winapi::entry::InstalledDataFolder((tree.Root() / "prefix/bin/quillerby").string()),
              "");
    tree.Folder("prefix/share/quillerby");
    const std::string data =
        winapi::entry::InstalledDataFolder((tree.Root() / "prefix/bin/quillerby").string());
    EXPECT_EQ(std::filesystem::canonical(data), tree.Root() / "prefix/share/quillerby");
    EXPECT_EQ(winapi::entry::InstalledDataFolder("quillerby"), "");
}

TEST(InstalledLayout, TheStateFolderFollowsTheBaseDirectoryRules) {
    using winapi::entry::StateFolder;
    EXPECT_EQ(StateFolder("/s", "/home/u"), "/s/quillerby");
    // Unset, empty or relative: the default below HOME.
    for (const char* unusable : {static_cast<const char*>(nullptr), "", "relative"}) {
        EXPECT_EQ(StateFolder(unusable, "/home/u"), "/home/u/.local/state/quillerby");
    }
    EXPECT_EQ(StateFolder(nullptr, nullptr), "");
}

TEST(InstalledLayout, TheStateFolderIsCreatedPrivateWithItsParents) {
    testing_tree::TempTree tree;
    const std::string state = (tree.Root() / "home/.local/state/quillerby").string();
    EXPECT_EQ(winapi::entry::MakePrivateFolder(state), "");
    for (const char* folder : {"home", "home/.local", "home/.local/state/quillerby"}) {
        struct stat info {};
        ASSERT_EQ(stat((tree.Root() / folder).c_str(), &info), 0);
        EXPECT_EQ(info.st_mode & 0777, 0700u) << folder;
    }
    EXPECT_EQ(winapi::entry::MakePrivateFolder(state), "") << "an existing folder is fine";

    tree.File("blocked");
    EXPECT_NE(winapi::entry::MakePrivateFolder((tree.Root() / "blocked/quillerby").string()), "");
    EXPECT_NE(winapi::entry::MakePrivateFolder((tree.Root() / "blocked").string()), "");
}

} // namespace
