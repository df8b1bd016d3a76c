// `quillerby --record FILE` on a virtual display: the recording of a scripted ride, played back as
// the keyboard script of a second run, gives the same Log.txt byte for byte, whether the first
// ride ended by Escape or by the window being closed.

#include "../game/working_folder.h"
#include "game_process.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

using namespace std::chrono_literals;

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream contents;
    contents << file.rdbuf();
    return contents.str();
}

// Runs the game in the working folder on `display`, playing `script`, with extra arguments; its
// exit code, with its standard error in `errors`.
int RunGame(const std::string& display, const std::string& script,
            const std::vector<std::string>& arguments, std::string& errors) {
    GameEnvironment environment(display, script);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "stderr.txt",
                                     O_WRONLY | O_CREAT | O_TRUNC, 0644);
    std::vector<std::string> command{QUILLERBY_PROGRAM};
    command.insert(command.end(), arguments.begin(), arguments.end());
    Child game(command, &actions, environment.Get());
    posix_spawn_file_actions_destroy(&actions);
    if (!game.Started()) {
        return -1;
    }
    const int exitCode = game.WaitForExit(120s);
    errors = ReadFile("stderr.txt");
    return exitCode;
}

struct Ride {
    const char* name;
    const char* script;
};

class EndToEndRecordedRide : public testing::TestWithParam<Ride> {};

TEST_P(EndToEndRecordedRide, ReplaysToTheSameLog) {
    WorkingFolder folder;
    std::ofstream(folder.Path() / "ride.txt") << GetParam().script;
    VirtualDisplay display;
    ASSERT_FALSE(display.name.empty()) << "Xvfb did not start";

    std::string errors;
    ASSERT_EQ(RunGame(display.name, "ride.txt", {"--record", "recorded.txt"}, errors), 0) << errors;
    const std::string ridden = ReadFile("Log.txt");
    ASSERT_NE(ridden.find("Game shut down!"), std::string::npos);

    std::filesystem::remove("Log.txt");
    ASSERT_EQ(RunGame(display.name, "recorded.txt", {}, errors), 0) << errors;
    EXPECT_EQ(ReadFile("Log.txt"), ridden) << "recording:\n" << ReadFile("recorded.txt");
}

INSTANTIATE_TEST_SUITE_P(
    Endings, EndToEndRecordedRide,
    testing::Values(Ride{"Escape", "40\n25 205\n1 205 57\n30 205 48\n10 203\n3 1\n"},
                    // The script runs out: every key is up for one more frame, then the window is
                    // closed as a player closes it.
                    Ride{"Closed", "40\n20 205\n1 57\n15 205 57\n"},
                    Ride{"ClosedWithKeysHeld", "30\n10 203\nclose\n"}),
    [](const testing::TestParamInfo<Ride>& info) { return std::string(info.param.name); });

TEST(RecordingOption, AnUnwritableFileEndsTheProgramBeforeTheGameStarts) {
    WorkingFolder folder;
    std::ofstream("ride.txt") << "5\n";
    std::string errors;
    EXPECT_EQ(RunGame(":0", "ride.txt", {"--record", "no-such-folder/recorded.txt"}, errors), 2);
    EXPECT_NE(errors.find("cannot write the recording to no-such-folder/recorded.txt"),
              std::string::npos)
        << errors;
    EXPECT_FALSE(std::filesystem::exists("Log.txt"));
}

} // namespace
