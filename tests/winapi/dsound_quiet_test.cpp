// What a program that opens a sound device leaves on standard error: our one notice when no output
// device opens, and nothing at all from the audio libraries underneath (ALSA, SDL2).

#include <gtest/gtest.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <regex>
#include <string>
#include <vector>

extern char** environ;

namespace {

struct ProbeRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

std::string ReadText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Runs the probe with this process's environment changed as `changes` say (no value: unset).
ProbeRun RunProbe(const std::map<std::string, std::optional<std::string>>& changes) {
    std::vector<std::string> variables;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string variable = *entry;
        if (!changes.contains(variable.substr(0, variable.find('=')))) {
            variables.push_back(variable);
        }
    }
    for (const auto& [name, value] : changes) {
        if (value) {
            variables.push_back(name + "=" + *value);
        }
    }
    std::vector<char*> environment;
    for (std::string& variable : variables) {
        environment.push_back(variable.data());
    }
    environment.push_back(nullptr);

    const std::string base = testing::TempDir() + "sound_probe_" + std::to_string(getpid());
    const std::string outPath = base + ".out";
    const std::string errPath = base + ".err";
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, outPath.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, errPath.c_str(),
                                     O_WRONLY | O_CREAT | O_TRUNC, 0600);
    std::string program = QUILLERBY_SOUND_PROBE;
    char* argv[] = {program.data(), nullptr};
    pid_t pid = -1;
    ProbeRun run;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv, environment.data()) == 0) {
        int status = 0;
        if (waitpid(pid, &status, 0) == pid && WIFEXITED(status)) {
            run.exitCode = WEXITSTATUS(status);
        }
    }
    posix_spawn_file_actions_destroy(&actions);
    run.out = ReadText(outPath);
    run.err = ReadText(errPath);
    std::remove(outPath.c_str());
    std::remove(errPath.c_str());
    return run;
}

const std::regex
    kNoDeviceNotice("sound: no output device could be opened \\([^\n]*\\); mixing into silence\n");

// Standard error holds exactly the notice when the mix went into silence, and nothing otherwise.
void ExpectOnlyOurNotice(const ProbeRun& run) {
    ASSERT_EQ(run.exitCode, 0) << run.err;
    if (run.out == "silence\n") {
        EXPECT_TRUE(std::regex_match(run.err, kNoDeviceNotice)) << run.err;
    } else {
        EXPECT_EQ(run.out, "device\n");
        EXPECT_EQ(run.err, "");
    }
}

TEST(SoundOutputNoise, WithTheDefaultDriverOnlyOurNoticeReachesStandardError) {
    ExpectOnlyOurNotice(RunProbe({{"SDL_AUDIODRIVER", std::nullopt}}));
}

// A card that does not exist: ALSA complains at length on its own unless told not to.
TEST(SoundOutputNoise, AlsaWithoutItsCardLeavesOnlyOurNotice) {
    const ProbeRun run = RunProbe({{"SDL_AUDIODRIVER", "alsa"}, {"AUDIODEV", "hw:97"}});
    EXPECT_EQ(run.out, "silence\n");
    ExpectOnlyOurNotice(run);
}

// SDL2's disk driver logs a warning of its own when it opens.
TEST(SoundOutputNoise, SdlsOwnAudioLogStaysQuiet) {
    const ProbeRun run =
        RunProbe({{"SDL_AUDIODRIVER", "disk"}, {"SDL_DISKAUDIOFILE", "/dev/null"}});
    EXPECT_EQ(run.out, "device\n");
    ExpectOnlyOurNotice(run);
}

} // namespace
