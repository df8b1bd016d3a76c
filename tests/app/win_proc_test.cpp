// The window procedure's shutdown sequence, run directly.

#include "../platform/log_capture.h"
#include "game/game.h"
#include "platform/graphics.h"
#include "platform/input.h"
#include "platform/sound_front_end.h"
#include "shell_run.h"

#include <gtest/gtest.h>

namespace {

using Lines = std::vector<std::string>;

TEST(WinProc, SecondDestroyMessageReleasesNothingTwice) {
    LogCapture log;
    ShellRun shell;
    RegisterWindowClass(GetModuleHandleA(nullptr));
    HWND window = CreateWindowExA(0, appTitle, appTitle, WS_POPUP, 0, 0, 1024, 768, nullptr,
                                  nullptr, nullptr, nullptr);
    ASSERT_TRUE(Init_Direct3D(window, 1024, 768) && Init_DirectSound(window) &&
                Init_DirectInput(window) && Init_Mouse(window) && Init_Keyboard(window) &&
                Game_Init(window));
    log.TakeLines();

    EXPECT_EQ(WinProc(window, WM_DESTROY, 0, 0), 0);
    EXPECT_EQ(log.TakeLines().size(), 11u);
    EXPECT_EQ(WinProc(window, WM_DESTROY, 0, 0), 0);
    EXPECT_EQ(log.TakeLines(),
              (Lines{"Keyboard objects released", "Mouse Object Released", "Surfaces Released",
                     "Textures Released", "Sounds Deleted", "", "Game shut down!"}));
    EXPECT_EQ(d3dDevice, nullptr);
    EXPECT_EQ(hitSound, nullptr);
}

TEST(WinProc, OtherMessagesGoToTheDefaultProcedure) {
    LogCapture log;
    ShellRun shell;
    RegisterWindowClass(GetModuleHandleA(nullptr));
    HWND window = CreateWindowExA(0, appTitle, appTitle, WS_POPUP, 0, 0, 1024, 768, nullptr,
                                  nullptr, nullptr, nullptr);
    EXPECT_EQ(WinProc(window, WM_NCCREATE, 0, 0), TRUE);
    EXPECT_EQ(WinProc(window, WM_USER, 1, 2), 0);
    EXPECT_TRUE(IsWindow(window));
    EXPECT_EQ(WinProc(window, WM_CLOSE, 0, 0), 0);
    EXPECT_FALSE(IsWindow(window)) << "closing destroys the window";
}

} // namespace
