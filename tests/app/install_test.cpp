// The game as a user installs it: installed into a prefix of its own, started from another folder
// on a virtual display, it reads its data from the prefix and writes only into its state folder;
// the uninstall then leaves the prefix as it found it.

#include "../game/working_folder.h"
#include "game_process.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <set>

namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

// The exit code of a command whose standard output is of no interest, -1 if it could not run.
int RunQuietly(const std::vector<std::string>& arguments) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    Child child(arguments, &actions, environ);
    posix_spawn_file_actions_destroy(&actions);
    return child.Started() ? child.WaitForExit(120s) : -1;
}

std::set<std::string> FilesBelow(const fs::path& folder) {
    std::set<std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(folder)) {
        files.insert(fs::relative(entry.path(), folder).string());
    }
    return files;
}

TEST(EndToEnd, InstalledGameRunsFromAnyFolderAndUninstallsCleanly) {
    WorkingFolder scratch(std::vector<std::string>{});
    const fs::path prefix = scratch.Path() / "prefix";
    const fs::path stateHome = scratch.Path() / "state";
    const fs::path started = scratch.Path() / "somewhere";
    fs::create_directories(prefix);
    fs::create_directories(started);
    ASSERT_EQ(RunQuietly({QUILLERBY_CMAKE, "--install", QUILLERBY_BUILD_DIR, "--prefix", prefix}),
              0);

    const std::set<std::string> installed = FilesBelow(prefix);
    for (const char* file :
         {"bin/quillerby", "bin/quillerby-reg", "bin/errlookup", "share/quillerby/Biker2.bmp",
          "share/quillerby/TilesFun2.bmp", "share/quillerby/hit1.wav",
          "share/applications/quillerby.desktop", "share/icons/hicolor/48x48/apps/quillerby.png",
          "share/icons/hicolor/256x256/apps/quillerby.png", "share/man/man1/quillerby.1",
          "share/man/man1/quillerby-reg.1", "share/man/man1/errlookup.1"}) {
        EXPECT_TRUE(installed.contains(file)) << file;
    }
    if (access("/usr/bin/desktop-file-validate", X_OK) == 0) {
        EXPECT_EQ(
            RunQuietly({"desktop-file-validate", prefix / "share/applications/quillerby.desktop"}),
            0);
    }

    fs::current_path(started);
    std::ofstream("ride.txt") << "10\n5 1   # Escape\n";
    VirtualDisplay display;
    ASSERT_FALSE(display.name.empty()) << "Xvfb did not start";
    GameEnvironment environment(display.name, "ride.txt", {"XDG_STATE_HOME=" + stateHome.string()});
    Child game({prefix / "bin/quillerby"}, nullptr, environment.Get());
    ASSERT_TRUE(game.Started());
    EXPECT_EQ(game.WaitForExit(60s), 0);

    const auto lines = ReadLines(stateHome / "quillerby/Log.txt");
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines.front(), "Log file created successfully!");
    EXPECT_NE(std::find(lines.begin(), lines.end(), "LoadSound() Successful"), lines.end());
    EXPECT_EQ(lines.back(), "Game shut down!");
    struct stat state {};
    ASSERT_EQ(stat((stateHome / "quillerby").c_str(), &state), 0);
    EXPECT_EQ(state.st_mode & 0777, 0700u);
    EXPECT_EQ(FilesBelow(started), std::set<std::string>{"ride.txt"});
    EXPECT_EQ(FilesBelow(prefix), installed);

    ASSERT_EQ(RunQuietly({QUILLERBY_CMAKE, "-DPREFIX=" + prefix.string(), "-P",
                          QUILLERBY_SOURCE_DIR "/cmake/Uninstall.cmake"}),
              0);
    EXPECT_EQ(FilesBelow(prefix), std::set<std::string>{});
}

} // namespace
