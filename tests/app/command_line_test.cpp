// The game program's own options, run as a user would: answers that start nothing, and usage
// errors.

#include "../command_outcome.h"
#include "../game/working_folder.h"
#include "quillerby_version.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

// The exit code and the standard output, or with errorsOnly the standard error.
CommandOutcome RunGame(const std::string& arguments, bool errorsOnly = false) {
    return RunCommand(std::string(QUILLERBY_PROGRAM) + " " + arguments +
                      (errorsOnly ? " 2>&1 >/dev/null" : " 2>/dev/null"));
}

TEST(CommandLine, HelpAndVersionAnswerAndUsageErrorsExitTwoWithoutStartingTheGame) {
    WorkingFolder folder(std::vector<std::string>{});
    const auto [helped, help] = RunGame("--windowed --help");
    EXPECT_EQ(helped, 0);
    EXPECT_EQ(help.rfind("usage: quillerby", 0), 0u) << help;
    for (const char* named : {"--windowed", "--record FILE", "--version", "WINAPI_INPUT_SCRIPT",
                              "WINAPI_REGISTRY_DIR", "SDL_AUDIODRIVER", "XDG_STATE_HOME"}) {
        EXPECT_NE(help.find(named), std::string::npos) << named;
    }
    const auto [versioned, version] = RunGame("--version");
    EXPECT_EQ(versioned, 0);
    EXPECT_EQ(version, std::string("quillerby ") + kQuillerbyVersion + "\n");

    for (const char* misuse : {"--bogus", "--help --bogus", "--record", "-x level"}) {
        const auto [status, errors] = RunGame(misuse, true);
        EXPECT_EQ(status, 2) << misuse;
        EXPECT_EQ(errors.rfind("quillerby: ", 0), 0u) << errors;
        EXPECT_NE(errors.find("usage: quillerby"), std::string::npos) << errors;
    }
    EXPECT_TRUE(std::filesystem::is_empty(folder.Path())) << "no Log.txt";
}

} // namespace
