// The game program's own options, run as a user would: answers that start nothing, and usage
// errors.

#include "../game/working_folder.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <filesystem>
#include <string>

namespace {

struct Outcome {
    int exitCode;
    std::string output;
};

// With errorsOnly, the output is the standard error alone; otherwise standard output alone.
Outcome RunGame(const std::string& arguments, bool errorsOnly = false) {
    const std::string command = std::string(QUILLERBY_PROGRAM) + " " + arguments +
                                (errorsOnly ? " 2>&1 >/dev/null" : " 2>/dev/null");
    FILE* pipe = popen(command.c_str(), "r");
    std::string output;
    char chunk[256];
    while (std::fgets(chunk, sizeof chunk, pipe) != nullptr) {
        output += chunk;
    }
    const int status = pclose(pipe);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, output};
}

TEST(CommandLine, HelpAndVersionAnswerWithoutStartingTheGame) {
    WorkingFolder folder(std::vector<std::string>{});
    const Outcome help = RunGame("--windowed --help");
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_EQ(help.output.rfind("usage: quillerby", 0), 0u) << help.output;
    for (const char* named : {"--windowed", "--record FILE", "--version", "WINAPI_INPUT_SCRIPT",
                              "WINAPI_REGISTRY_DIR", "SDL_AUDIODRIVER", "XDG_STATE_HOME"}) {
        EXPECT_NE(help.output.find(named), std::string::npos) << named;
    }
    const Outcome version = RunGame("--version");
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_EQ(version.output.rfind("quillerby ", 0), 0u) << version.output;
    EXPECT_TRUE(std::filesystem::is_empty(folder.Path())) << "no Log.txt";
}

TEST(CommandLine, UnknownOptionsAndARecordWithoutFileAreUsageErrors) {
    WorkingFolder folder(std::vector<std::string>{});
    for (const char* misuse : {"--bogus", "--help --bogus", "--record", "-x level"}) {
        const Outcome outcome = RunGame(misuse, true);
        EXPECT_EQ(outcome.exitCode, 2) << misuse;
        EXPECT_EQ(outcome.output.rfind("quillerby: ", 0), 0u) << outcome.output;
        EXPECT_NE(outcome.output.find("usage: quillerby"), std::string::npos) << outcome.output;
    }
    EXPECT_TRUE(std::filesystem::is_empty(folder.Path())) << "no Log.txt";
}

} // namespace
