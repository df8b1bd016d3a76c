#pragma once
// Starting the real program as its own process: a child process that is always reaped, a virtual
// display (Xvfb) of its own, and the environment that points the game at both.

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

extern char** environ;

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
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
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

// Xvfb on the first free display, which it reports through a pipe once it accepts clients. No
// window manager runs on it, and its empty screen is black.
class VirtualDisplay {
public:
    explicit VirtualDisplay(const std::string& screen = "1024x768x24") {
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
                                     screen, "-br", "-nolisten", "tcp"},
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

// This process's environment for the game: on the display, playing the keyboard script, with
// sound mixed for SDL's dummy audio driver and a registry store in the working folder; more
// entries ("NAME=value") replace inherited ones.
class GameEnvironment {
public:
    GameEnvironment(const std::string& display, const std::string& script,
                    const std::vector<std::string>& more = {}) {
        std::vector<std::string> own = {"DISPLAY=" + display, "WINAPI_INPUT_SCRIPT=" + script,
                                        "SDL_AUDIODRIVER=dummy", // no sound card needed
                                        "WINAPI_REGISTRY_DIR=" + RegistryFolder()};
        own.insert(own.end(), more.begin(), more.end());
        const auto replaced = [&](const std::string& entry) {
            if (entry.rfind("ASAN_OPTIONS=", 0) == 0) {
                return true;
            }
            for (const std::string& mine : own) {
                if (entry.compare(0, mine.find('=') + 1, mine, 0, mine.find('=') + 1) == 0) {
                    return true;
                }
            }
            return false;
        };
        for (char** variable = environ; *variable != nullptr; ++variable) {
            if (!replaced(*variable)) {
                entries.push_back(*variable);
            }
        }
        // In the sanitizer build the display's client libraries keep a few allocations to the
        // end; the game's own memory is checked by the in-process tests.
        const char* asanOptions = std::getenv("ASAN_OPTIONS");
        entries.push_back(std::string("ASAN_OPTIONS=") + (asanOptions ? asanOptions : "") +
                          ":detect_leaks=0");
        entries.insert(entries.end(), own.begin(), own.end());
        for (auto& entry : entries) {
            pointers.push_back(entry.data());
        }
        pointers.push_back(nullptr);
    }
    GameEnvironment(const GameEnvironment&) = delete;
    GameEnvironment& operator=(const GameEnvironment&) = delete;

    char* const* Get() const { return pointers.data(); }

    // The game's registry store: a folder in the working folder.
    static std::string RegistryFolder() {
        return (std::filesystem::current_path() / "registry").string();
    }

private:
    std::vector<std::string> entries;
    std::vector<char*> pointers;
};

inline std::vector<std::string> ReadLines(const std::string& path) {
    std::ifstream file(path);
    std::vector<std::string> lines;
    for (std::string line; std::getline(file, line);) {
        lines.push_back(line);
    }
    return lines;
}
