// DirectInput set-up, the keyboard and mouse snapshots, and the release of the devices.

#include "headless_platform.h"
#include "log_capture.h"
#include "platform/input.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>

namespace {

using Lines = std::vector<std::string>;
using winapi::hooks::InputCall;

class InputTest : public testing::Test {
protected:
    void SetUp() override {
        WNDCLASSEXA windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = DefWindowProcA;
        windowClass.lpszClassName = "InputTest";
        RegisterClassExA(&windowClass);
        window = CreateWindowExA(0, "InputTest", "", WS_POPUP | WS_VISIBLE, 0, 0, 1024, 768,
                                 nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(window, nullptr);
    }
    void TearDown() override {
        Release_Keyboard();
        Release_Mouse();
        if (dinputObject != nullptr) {
            dinputObject->Release();
            dinputObject = nullptr;
        }
        std::fill(std::begin(keys), std::end(keys), BYTE{0});
        mouseState = {};
    }
    bool SetUpAll() {
        return Init_DirectInput(window) && Init_Mouse(window) && Init_Keyboard(window);
    }
    HeadlessPlatform platform;
    LogCapture log;
    HWND window = nullptr;
};

TEST_F(InputTest, SetUpLogsEachStep) {
    ASSERT_TRUE(SetUpAll());
    EXPECT_EQ(log.TakeLines(),
              (Lines{"DirectInput Initialized", "Mouse Initialized", "Keyboard Initialized"}));
}

TEST_F(InputTest, DirectInputFailuresStopAtTheirStep) {
    winapi::hooks::FailInputCall(InputCall::DirectInput8Create, DIERR_OUTOFMEMORY);
    EXPECT_EQ(Init_DirectInput(window), 0);
    EXPECT_EQ(log.TakeLines(), (Lines{"DirectInput8Create failed "}));
    winapi::hooks::ResetInputHooks();

    winapi::hooks::FailInputCall(InputCall::CreateMouse, DIERR_DEVICENOTREG);
    EXPECT_EQ(Init_DirectInput(window), 0);
    EXPECT_EQ(log.TakeLines(), (Lines{"DirectInput CreateDevice Mouse failed"}));
    EXPECT_EQ(keyboardDevice, nullptr);
    dinputObject->Release();
    dinputObject = nullptr;
    winapi::hooks::ResetInputHooks();

    winapi::hooks::FailInputCall(InputCall::CreateKeyboard, DIERR_DEVICENOTREG);
    EXPECT_EQ(Init_DirectInput(window), 0);
    EXPECT_EQ(log.TakeLines(), (Lines{"DirectInput CreateDevice Keyboard failed"}));
    EXPECT_NE(mouseDevice, nullptr);
}

TEST_F(InputTest, DeviceSetUpFailuresUseEachDevicesOwnWords) {
    const struct {
        InputCall call;
        const char* mouse;
        const char* keyboard;
    } steps[] = {
        {InputCall::SetDataFormat, "Init_mouse SetDataFormat failed",
         "Init_Keyboard SetDataFormat failed"},
        {InputCall::SetCooperativeLevel, "Init_Mouse SetCooperativeLevel failed",
         "Init_Keyboard SetCooperativeLevel failed"},
        {InputCall::Acquire, "Init_mouse Acquire failed", "Init_Keyboard Acquire failed"},
    };
    ASSERT_EQ(Init_DirectInput(window), 1);
    log.TakeLines();
    for (const auto& step : steps) {
        winapi::hooks::FailInputCall(step.call, DIERR_GENERIC);
        EXPECT_EQ(Init_Mouse(window), 0);
        EXPECT_EQ(Init_Keyboard(window), 0);
        EXPECT_EQ(log.TakeLines(), (Lines{step.mouse, step.keyboard}));
        winapi::hooks::FailInputCall(step.call, DI_OK);
    }
}

TEST_F(InputTest, KeyTestsReadTheLastSnapshotAndAnswer0x80) {
    ASSERT_TRUE(SetUpAll());
    winapi::hooks::SetKeysDown({DIK_SPACE, DIK_RIGHT});
    EXPECT_EQ(Is_Key_Down(DIK_SPACE), 0) << "nothing is down before the first read";
    Read_Keyboard();
    EXPECT_EQ(Is_Key_Down(DIK_SPACE), 0x80);
    EXPECT_EQ(Is_Key_Down(DIK_RIGHT), 0x80);
    EXPECT_EQ(Is_Key_Down(DIK_LEFT), 0);
    winapi::hooks::SetKeysDown({});
    EXPECT_EQ(Is_Key_Down(DIK_SPACE), 0x80) << "until the next read";
    Read_Keyboard();
    EXPECT_EQ(Is_Key_Down(DIK_SPACE), 0);
    EXPECT_EQ(Is_Key_Down(-1), 0);
    EXPECT_EQ(Is_Key_Down(256), 0);
}

TEST_F(InputTest, MouseReadsGiveMovementSinceTheLastReadAndButtons) {
    ASSERT_TRUE(SetUpAll());
    winapi::hooks::MoveMouse(5, -3, 120);
    winapi::hooks::SetMouseButton(1, true);
    Read_Mouse();
    EXPECT_EQ(Mouse_X(), 5);
    EXPECT_EQ(Mouse_Y(), -3);
    EXPECT_EQ(Mouse_Button(1), 0x80);
    EXPECT_EQ(Mouse_Button(0), 0);
    EXPECT_EQ(Mouse_Button(4), 0);
    Read_Mouse();
    EXPECT_EQ(Mouse_X(), 0);
    EXPECT_EQ(Mouse_Y(), 0);
}

TEST_F(InputTest, ReleasingLogsEveryTimeAndForgetsTheDevice) {
    ASSERT_TRUE(SetUpAll());
    log.TakeLines();
    Release_Mouse();
    Release_Mouse();
    Release_Keyboard();
    Release_Keyboard();
    EXPECT_EQ(mouseDevice, nullptr);
    EXPECT_EQ(keyboardDevice, nullptr);
    EXPECT_EQ(log.TakeLines(), (Lines{"Mouse Object Released", "Mouse Object Released",
                                      "Keyboard objects released", "Keyboard objects released"}));
}

} // namespace
