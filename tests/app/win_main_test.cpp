// WinMain and WinProc on the headless platform: the log from its first line to its last, the
// set-up chain's failures, the main loop's order and the shutdown on the destroy message.

#include "shell_run.h"

#include <dinput.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <optional>

namespace {

using Lines = std::vector<std::string>;
using namespace winapi::hooks;

const Lines setUpLines = {"Log file created successfully!",
                          "",
                          "Sprite Handler Created",
                          "Direct3D objects initialized",
                          "DirectSound Initialized",
                          "DirectInput Initialized",
                          "Mouse Initialized",
                          "Keyboard Initialized",
                          "LoadTexture() Successful",
                          "LoadTexture() Successful",
                          "LoadSound() Successful",
                          "Game Specific Objects Initialized"};

const Lines shutdownLines = {"Direct3D Device Released", "Direct3D Object Released",
                             "Sprite Handler Released",  "Keyboard objects released",
                             "Mouse Object Released",    "DirectInput Object Released",
                             "Surfaces Released",        "Textures Released",
                             "Sounds Deleted",           "",
                             "Game shut down!"};

bool StartsWith(const Lines& lines, const Lines& head) {
    return lines.size() >= head.size() && std::equal(head.begin(), head.end(), lines.begin());
}
bool EndsWith(const Lines& lines, const Lines& tail) {
    return lines.size() >= tail.size() && std::equal(tail.rbegin(), tail.rend(), lines.rbegin());
}

TEST(WinMainRun, LogRunsFromItsFirstLineThroughEveryFrameToTheShutdown) {
    ShellRun shell;
    shell.platform.onPresent = [](int frame) {
        if (frame == 40) {
            SetKeysDown({DIK_ESCAPE});
        }
    };
    EXPECT_EQ(shell.Run(), 0);
    EXPECT_EQ(shell.platform.framesPresented, 41);

    const Lines lines = shell.LogLines();
    ASSERT_TRUE(StartsWith(lines, setUpLines));
    ASSERT_TRUE(EndsWith(lines, shutdownLines)) << lines.back();
    // Two lines per frame while the biker falls and stands: its position and the slope query.
    ASSERT_EQ(lines.size(), setUpLines.size() + 2 * 41 + shutdownLines.size());
    EXPECT_EQ(lines[setUpLines.size()], "300 600.02");
    EXPECT_EQ(lines[setUpLines.size() + 1], "10 19");
    EXPECT_EQ(lines[setUpLines.size() + 2 * 40], "300 674");
}

TEST(WinMainRun, EarlierLogIsReplacedNotAppendedTo) {
    ShellRun shell;
    std::ofstream(shell.folder.Path() / "Log.txt") << "left from an earlier run\n";
    shell.platform.onPresent = [](int) { SetKeysDown({DIK_ESCAPE}); };
    EXPECT_EQ(shell.Run(), 0);
    const Lines lines = shell.LogLines();
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.front(), "Log file created successfully!");
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "left from an earlier run"), 0);
}

TEST(WinMainRun, ClosingTheWindowFromTheDesktopRunsTheSameShutdown) {
    ShellRun shell;
    shell.platform.onPresent = [](int frame) {
        if (frame == 3) {
            SimulateDesktopClose();
        }
    };
    EXPECT_EQ(shell.Run(), 0);
    EXPECT_EQ(shell.platform.framesPresented, 3);
    EXPECT_TRUE(EndsWith(shell.LogLines(), shutdownLines));
}

TEST(WinMainRun, WaitingMessagesAreAllHandledBeforeTheNextFrame) {
    ShellRun shell;
    std::vector<std::size_t> waitingAtEachFrame;
    HWND window = nullptr;
    shell.platform.onPresent = [&](int frame) {
        waitingAtEachFrame.push_back(QueuedMessageCount());
        if (frame == 2) {
            window = GetForegroundWindow();
            for (int i = 0; i < 50; ++i) {
                PostMessageA(window, WM_USER, 0, 0);
            }
        }
        if (frame == 4) {
            SetKeysDown({DIK_ESCAPE});
        }
    };
    EXPECT_EQ(shell.Run(), 0);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(waitingAtEachFrame, (std::vector<std::size_t>{0, 0, 0, 0, 0}));
}

const std::vector<std::string> allAssetNames(std::begin(allAssets), std::end(allAssets));

struct SetUpFailure {
    const char* name;
    std::function<void()> arrange;
    std::vector<std::string> assets;
    Lines lastLines;
    // The keyboard script named for the run, if any.
    const char* inputScript = nullptr;
};

// Names a keyboard script for the run and puts back what was named before.
class InputScriptForRun {
public:
    explicit InputScriptForRun(const char* path) {
        if (const char* earlier = std::getenv(variable)) {
            earlier_ = earlier;
        }
        if (path != nullptr) {
            setenv(variable, path, 1);
        }
    }
    ~InputScriptForRun() {
        if (earlier_) {
            setenv(variable, earlier_->c_str(), 1);
        } else {
            unsetenv(variable);
        }
    }
    InputScriptForRun(const InputScriptForRun&) = delete;
    InputScriptForRun& operator=(const InputScriptForRun&) = delete;

private:
    static constexpr const char* variable = "WINAPI_INPUT_SCRIPT";
    std::optional<std::string> earlier_;
};

void PrintTo(const SetUpFailure& failure, std::ostream* out) {
    *out << failure.name;
}

class WinMainSetUpFailure : public testing::TestWithParam<SetUpFailure> {};

TEST_P(WinMainSetUpFailure, EndsWithTheStepsLineThenTheShellsAndExitCodeZero) {
    ShellRun shell(GetParam().assets);
    InputScriptForRun script(GetParam().inputScript);
    GetParam().arrange();
    EXPECT_EQ(shell.Run(), 0);
    EXPECT_EQ(shell.platform.framesPresented, 0);
    const Lines lines = shell.LogLines();
    EXPECT_TRUE(StartsWith(lines, {"Log file created successfully!", ""}));
    EXPECT_TRUE(EndsWith(lines, GetParam().lastLines)) << lines.back();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "Game shut down!"), 0);
}

INSTANTIATE_TEST_SUITE_P(
    EachStep, WinMainSetUpFailure,
    testing::Values(
        SetUpFailure{"NoDisplay",
                     [] { SetDisplayAvailable(false); },
                     allAssetNames,
                     {"Error creating Direct3D device", "Error Initializing Direct3D"}},
        SetUpFailure{"DirectSound",
                     [] { FailSoundCall(SoundCall::DirectSoundCreate8, DSERR_NODRIVER); },
                     allAssetNames,
                     {"Direct3D objects initialized", "DirectSound Initialize failed",
                      "Error Initializing DirectSound"}},
        SetUpFailure{"DirectInput",
                     [] { FailInputCall(InputCall::DirectInput8Create, DIERR_OUTOFMEMORY); },
                     allAssetNames,
                     {"DirectSound Initialized", "DirectInput8Create failed ",
                      "Error Initializing DirectInput"}},
        SetUpFailure{"Mouse",
                     [] { FailInputCall(InputCall::SetDataFormat, DIERR_INVALIDPARAM); },
                     allAssetNames,
                     {"DirectInput Initialized", "Init_mouse SetDataFormat failed",
                      "Error Initializing Mouse"}},
        // The mouse is set up before the keyboard, so only the keyboard's own
        // source can fail here: a script that cannot be read.
        SetUpFailure{
            "Keyboard",
            [] {},
            allAssetNames,
            {"Mouse Initialized", "Init_Keyboard Acquire failed", "Error Initializing Keyboard"},
            "no such keyboard script.txt"},
        SetUpFailure{
            "MissingHitSound",
            [] {},
            {"Biker2.bmp", "TilesFun2.bmp"},
            {"LoadTexture() Successful", "LoadSound() Create failed", "Error running Game_Init"}}),
    [](const testing::TestParamInfo<SetUpFailure>& info) { return std::string(info.param.name); });

} // namespace
