// The real program on a virtual display of its own, driven by a keyboard script: its log from the
// first line to the last, its exit code, and a frame it saved compared pixel by pixel with the
// level's tiles and the biker at the position it logged.

#include "../game/bitmap_file.h"
#include "../game/working_folder.h"
#include "game/game_state.h"

#include <SDL.h>
#include <SDL_image.h>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

namespace {

using namespace std::chrono_literals;

// A process started with posix_spawnp, ended (if still running) and reaped when this goes.
class Child {
public:
    Child(std::vector<std::string> arguments, const posix_spawn_file_actions_t* actions,
          char* const* environment) {
        std::vector<char*> argv;
        for (auto& argument : arguments) {
            argv.push_back(argument.data());
        }
        argv.push_back(nullptr);
        if (posix_spawnp(&pid, argv[0], actions, nullptr, argv.data(), environment) != 0) {
            pid = -1;
        }
    }
    ~Child() {
        if (pid > 0 && !exited) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        }
    }
    Child(const Child&) = delete;
    Child& operator=(const Child&) = delete;

    bool Started() const { return pid > 0; }

    // The exit code, or -1 if it has not ended normally within the time.
    int WaitForExit(std::chrono::milliseconds limit) {
        const auto end = std::chrono::steady_clock::now() + limit;
        int status = 0;
        while (std::chrono::steady_clock::now() < end) {
            if (waitpid(pid, &status, WNOHANG) == pid) {
                exited = true;
                return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            }
            std::this_thread::sleep_for(10ms);
        }
        return -1;
    }

    void Stop() {
        if (pid > 0 && !exited) {
            kill(pid, SIGTERM);
            waitpid(pid, nullptr, 0);
            exited = true;
        }
    }

private:
    pid_t pid = -1;
    bool exited = false;
};

// Xvfb on the first free display, which it reports through a pipe once it accepts clients.
class VirtualDisplay {
public:
    VirtualDisplay() {
        int fds[2];
        if (pipe(fds) != 0) {
            return;
        }
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addclose(&actions, fds[0]);
        posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
        server = std::make_unique<Child>(
            std::vector<std::string>{"Xvfb", "-displayfd", std::to_string(fds[1]), "-screen", "0",
                                     "1024x768x24", "-nolisten", "tcp"},
            &actions, environ);
        posix_spawn_file_actions_destroy(&actions);
        close(fds[1]);

        std::string number;
        pollfd ready{fds[0], POLLIN, 0};
        char c = 0;
        while (poll(&ready, 1, 10000) == 1 && read(fds[0], &c, 1) == 1 && c != '\n') {
            number += c;
        }
        close(fds[0]);
        if (!number.empty()) {
            name = ":" + number;
        }
    }
    ~VirtualDisplay() {
        if (server) {
            server->Stop();
        }
    }

    // Empty when Xvfb could not be started.
    std::string name;

private:
    std::unique_ptr<Child> server;
};

std::vector<std::string> ReadLines(const std::string& path) {
    std::ifstream file(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(file, line);) {
        lines.push_back(line);
    }
    return lines;
}

TEST(EndToEnd, ScriptedRideOnAVirtualDisplayLogsDrawsAndEndsCleanly) {
    WorkingFolder folder;
    constexpr int capturedFrame = 66;
    std::ofstream(folder.Path() / "ride.txt") << "40        # fall and land\n"
                                                 "25 205    # ride right\n"
                                                 "capture frame.png\n"
                                                 "20\n"
                                                 "5 1       # Escape\n";

    VirtualDisplay display;
    ASSERT_FALSE(display.name.empty()) << "Xvfb did not start";

    std::vector<std::string> environment;
    for (char** variable = environ; *variable != nullptr; ++variable) {
        const std::string entry = *variable;
        if (entry.rfind("DISPLAY=", 0) != 0 && entry.rfind("WINAPI_INPUT_SCRIPT=", 0) != 0 &&
            entry.rfind("SDL_AUDIODRIVER=", 0) != 0 && entry.rfind("ASAN_OPTIONS=", 0) != 0) {
            environment.push_back(entry);
        }
    }
    // In the sanitizer build the display's client libraries keep a few allocations to the end;
    // the game's own memory is checked by the in-process tests.
    const char* asanOptions = std::getenv("ASAN_OPTIONS");
    environment.push_back(std::string("ASAN_OPTIONS=") + (asanOptions ? asanOptions : "") +
                          ":detect_leaks=0");
    environment.push_back("DISPLAY=" + display.name);
    environment.push_back("WINAPI_INPUT_SCRIPT=ride.txt");
    environment.push_back("SDL_AUDIODRIVER=dummy"); // no sound card needed
    std::vector<char*> envp;
    for (auto& entry : environment) {
        envp.push_back(entry.data());
    }
    envp.push_back(nullptr);

    Child game({QUILLERBY_PROGRAM}, nullptr, envp.data());
    ASSERT_TRUE(game.Started());
    EXPECT_EQ(game.WaitForExit(60s), 0);

    const auto lines = ReadLines((folder.Path() / "Log.txt").string());
    ASSERT_GE(lines.size(), 2u);
    EXPECT_EQ(lines.front(), "Log file created successfully!");
    EXPECT_EQ(lines.back(), "Game shut down!");
    const auto setUpEnd =
        std::find(lines.begin(), lines.end(), "Game Specific Objects Initialized");
    ASSERT_NE(setUpEnd, lines.end());
    const auto firstFrame = setUpEnd + 1;
    ASSERT_LT(firstFrame - lines.begin() + 2 * capturedFrame, static_cast<long>(lines.size()));
    std::istringstream position(*(firstFrame + 2 * (capturedFrame - 1)));
    float x = 0;
    float y = 0;
    ASSERT_TRUE(position >> x >> y);
    EXPECT_GT(x, 300.5f) << "the biker rode to the right";
    EXPECT_EQ(y, 674.0f);

    SDL_Surface* loaded = IMG_Load((folder.Path() / "frame.png").c_str());
    ASSERT_NE(loaded, nullptr) << IMG_GetError();
    SDL_Surface* frame = SDL_ConvertSurfaceFormat(loaded, SDL_PIXELFORMAT_ARGB8888, 0);
    SDL_FreeSurface(loaded);
    ASSERT_NE(frame, nullptr);
    ASSERT_EQ(frame->w, 1024);
    ASSERT_EQ(frame->h, 768);

    tileMap.Build();
    const int mismatches = CountMismatches(
        [&](int px, int py) {
            return static_cast<const std::uint32_t*>(frame->pixels)[py * (frame->pitch / 4) + px];
        },
        [](int column, int row) { return tileMap.TileAt(column, row).number; },
        ReadBitmap("TilesFun2.bmp"), ReadBitmap("Biker2.bmp"), static_cast<int>(std::lround(x)),
        static_cast<int>(std::lround(y)));
    SDL_FreeSurface(frame);
    EXPECT_EQ(mismatches, 0);
}

} // namespace
