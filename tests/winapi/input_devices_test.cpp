// DirectInput devices, headless: setting them up as the game does and reading snapshots.

#include "winapi/hooks/input.h"
#include "winapi/hooks/window.h"
#include "winapi/profile.h"

#include <SDL_scancode.h>
#include <array>
#include <dinput.h>
#include <gtest/gtest.h>
#include <set>
#include <windows.h>

namespace {

using winapi::hooks::InputCall;

LRESULT CALLBACK PlainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcA(window, message, wParam, lParam);
}

class InputTest : public ::testing::Test {
protected:
    void SetUp() override {
        unsetenv("WINAPI_INPUT_SCRIPT");
        winapi::SelectProfile(winapi::Profile::Headless);
        winapi::hooks::ResetWindowHooks();
        winapi::hooks::ResetInputHooks();
        WNDCLASSEX windowClass{};
        windowClass.cbSize = sizeof(WNDCLASSEX);
        windowClass.lpfnWndProc = PlainProc;
        windowClass.lpszClassName = "Test";
        RegisterClassExA(&windowClass);
        window = CreateWindowExA(0, "Test", "Test", WS_POPUP | WS_VISIBLE, 0, 0, 1024, 768, nullptr,
                                 nullptr, nullptr, nullptr);
        ASSERT_EQ(DirectInput8Create(GetModuleHandleA(nullptr), DIRECTINPUT_VERSION,
                                     IID_IDirectInput8, reinterpret_cast<void**>(&dinput), nullptr),
                  DI_OK);
    }

    void TearDown() override {
        for (auto* device : {keyboard, mouse}) {
            if (device != nullptr) {
                device->Unacquire();
                device->Release();
            }
        }
        dinput->Release();
        winapi::hooks::ResetInputHooks();
    }

    // The game's three set-up steps for each device.
    void SetUpDevices() {
        ASSERT_EQ(dinput->CreateDevice(GUID_SysMouse, &mouse, nullptr), DI_OK);
        ASSERT_EQ(dinput->CreateDevice(GUID_SysKeyboard, &keyboard, nullptr), DI_OK);
        ASSERT_EQ(mouse->SetDataFormat(&c_dfDIMouse), DI_OK);
        ASSERT_EQ(mouse->SetCooperativeLevel(window, DISCL_EXCLUSIVE | DISCL_FOREGROUND), DI_OK);
        ASSERT_EQ(mouse->Acquire(), DI_OK);
        ASSERT_EQ(keyboard->SetDataFormat(&c_dfDIKeyboard), DI_OK);
        ASSERT_EQ(keyboard->SetCooperativeLevel(window, DISCL_NONEXCLUSIVE | DISCL_FOREGROUND),
                  DI_OK);
        ASSERT_EQ(keyboard->Acquire(), DI_OK);
    }

    HWND window = nullptr;
    IDirectInput8* dinput = nullptr;
    IDirectInputDevice8* keyboard = nullptr;
    IDirectInputDevice8* mouse = nullptr;
};

TEST_F(InputTest, TheKeyboardSnapshotHasTheHighBitOfEachKeyDown) {
    SetUpDevices();
    std::array<BYTE, 256> keys{};
    ASSERT_EQ(keyboard->GetDeviceState(256, keys.data()), DI_OK);
    EXPECT_EQ(std::count(keys.begin(), keys.end(), 0), 256);

    winapi::hooks::SetKeysDown({DIK_LEFT, DIK_SPACE});
    ASSERT_EQ(keyboard->GetDeviceState(256, keys.data()), DI_OK);
    EXPECT_EQ(keys[DIK_LEFT], 0x80);
    EXPECT_EQ(keys[DIK_SPACE], 0x80);
    EXPECT_EQ(keys[DIK_RIGHT], 0);
    EXPECT_EQ(std::count(keys.begin(), keys.end(), 0), 254);
}

TEST_F(InputTest, MouseMovementIsCountedFromOneReadToTheNext) {
    SetUpDevices();
    winapi::hooks::MoveMouse(5, -3, 120);
    winapi::hooks::MoveMouse(1, 1, 0);
    winapi::hooks::SetMouseButton(0, true);
    DIMOUSESTATE state{};
    ASSERT_EQ(mouse->GetDeviceState(sizeof state, &state), DI_OK);
    EXPECT_EQ(state.lX, 6);
    EXPECT_EQ(state.lY, -2);
    EXPECT_EQ(state.lZ, 120);
    EXPECT_EQ(state.rgbButtons[0], 0x80);
    EXPECT_EQ(state.rgbButtons[1], 0);

    ASSERT_EQ(mouse->GetDeviceState(sizeof state, &state), DI_OK);
    EXPECT_EQ(state.lX, 0);
    EXPECT_EQ(state.lY, 0);
    EXPECT_EQ(state.lZ, 0);
    EXPECT_EQ(state.rgbButtons[0], 0x80); // still held
}

TEST_F(InputTest, ReadsNeedAnAcquiredDeviceAndTheFormatsSize) {
    ASSERT_EQ(dinput->CreateDevice(GUID_SysKeyboard, &keyboard, nullptr), DI_OK);
    std::array<BYTE, 256> keys{};
    EXPECT_EQ(keyboard->Acquire(), DIERR_INVALIDPARAM); // no data format yet
    EXPECT_EQ(keyboard->SetDataFormat(&c_dfDIMouse), DIERR_INVALIDPARAM);
    ASSERT_EQ(keyboard->SetDataFormat(&c_dfDIKeyboard), DI_OK);
    EXPECT_EQ(keyboard->GetDeviceState(256, keys.data()), DIERR_NOTACQUIRED);
    ASSERT_EQ(keyboard->Acquire(), DI_OK);
    EXPECT_EQ(keyboard->Acquire(), DI_NOEFFECT);
    EXPECT_EQ(keyboard->SetDataFormat(&c_dfDIKeyboard), DIERR_ACQUIRED);
    EXPECT_EQ(keyboard->GetDeviceState(16, keys.data()), DIERR_INVALIDPARAM);
    EXPECT_EQ(keyboard->GetDeviceState(256, nullptr), DIERR_INVALIDPARAM);
    EXPECT_EQ(keyboard->Unacquire(), DI_OK);
    EXPECT_EQ(keyboard->Unacquire(), DI_NOEFFECT);
    EXPECT_EQ(keyboard->GetDeviceState(256, keys.data()), DIERR_NOTACQUIRED);
}

TEST_F(InputTest, CooperativeLevelsNeedOneOfEachPairAndAWindow) {
    ASSERT_EQ(dinput->CreateDevice(GUID_SysMouse, &mouse, nullptr), DI_OK);
    EXPECT_EQ(mouse->SetCooperativeLevel(window, DISCL_EXCLUSIVE), DIERR_INVALIDPARAM);
    EXPECT_EQ(
        mouse->SetCooperativeLevel(window, DISCL_EXCLUSIVE | DISCL_NONEXCLUSIVE | DISCL_FOREGROUND),
        DIERR_INVALIDPARAM);
    EXPECT_EQ(mouse->SetCooperativeLevel(nullptr, DISCL_EXCLUSIVE | DISCL_FOREGROUND), E_HANDLE);
    EXPECT_EQ(mouse->SetCooperativeLevel(window, DISCL_EXCLUSIVE | DISCL_FOREGROUND), DI_OK);
}

TEST_F(InputTest, OnlyTheNarrowVersion8InterfaceAndTheSystemDevicesAreMade) {
    IDirectInput8* other = nullptr;
    HINSTANCE self = GetModuleHandleA(nullptr);
    EXPECT_EQ(DirectInput8Create(self, 0x0700, IID_IDirectInput8, reinterpret_cast<void**>(&other),
                                 nullptr),
              DIERR_OLDDIRECTINPUTVERSION);
    EXPECT_EQ(DirectInput8Create(self, 0x0800, IID_IDirectInput8W, reinterpret_cast<void**>(&other),
                                 nullptr),
              DIERR_NOINTERFACE);
    EXPECT_EQ(DirectInput8Create(nullptr, 0x0800, IID_IDirectInput8,
                                 reinterpret_cast<void**>(&other), nullptr),
              DIERR_INVALIDPARAM);
    EXPECT_EQ(other, nullptr);
    IDirectInputDevice8* device = nullptr;
    EXPECT_EQ(dinput->CreateDevice(IID_IDirectInput8A, &device, nullptr), DIERR_DEVICENOTREG);
    EXPECT_EQ(device, nullptr);
}

TEST_F(InputTest, InjectedFailuresReachEachSetUpStep) {
    winapi::hooks::FailInputCall(InputCall::DirectInput8Create, DIERR_OUTOFMEMORY);
    IDirectInput8* other = nullptr;
    EXPECT_EQ(DirectInput8Create(GetModuleHandleA(nullptr), DIRECTINPUT_VERSION, IID_IDirectInput8,
                                 reinterpret_cast<void**>(&other), nullptr),
              DIERR_OUTOFMEMORY);
    winapi::hooks::FailInputCall(InputCall::CreateMouse, DIERR_DEVICENOTREG);
    EXPECT_EQ(dinput->CreateDevice(GUID_SysMouse, &mouse, nullptr), DIERR_DEVICENOTREG);
    ASSERT_EQ(dinput->CreateDevice(GUID_SysKeyboard, &keyboard, nullptr), DI_OK);
    winapi::hooks::FailInputCall(InputCall::SetDataFormat, DIERR_INVALIDPARAM);
    EXPECT_EQ(keyboard->SetDataFormat(&c_dfDIKeyboard), DIERR_INVALIDPARAM);
    winapi::hooks::FailInputCall(InputCall::SetDataFormat, DI_OK);
    winapi::hooks::FailInputCall(InputCall::SetCooperativeLevel, DIERR_INVALIDPARAM);
    EXPECT_EQ(keyboard->SetCooperativeLevel(window, DISCL_NONEXCLUSIVE | DISCL_FOREGROUND),
              DIERR_INVALIDPARAM);
    winapi::hooks::FailInputCall(InputCall::Acquire, DIERR_OTHERAPPHASPRIO);
    ASSERT_EQ(keyboard->SetDataFormat(&c_dfDIKeyboard), DI_OK);
    EXPECT_EQ(keyboard->Acquire(), DIERR_OTHERAPPHASPRIO);
}

TEST(KeyMap, TheGamesKeysMapFromTheirScancodes) {
    using winapi::hooks::KeyCodeForScancode;
    EXPECT_EQ(KeyCodeForScancode(SDL_SCANCODE_ESCAPE), DIK_ESCAPE);
    EXPECT_EQ(KeyCodeForScancode(SDL_SCANCODE_RETURN), DIK_RETURN);
    EXPECT_EQ(KeyCodeForScancode(SDL_SCANCODE_SPACE), DIK_SPACE);
    EXPECT_EQ(KeyCodeForScancode(SDL_SCANCODE_B), DIK_B);
    EXPECT_EQ(KeyCodeForScancode(SDL_SCANCODE_UP), DIK_UP);
    EXPECT_EQ(KeyCodeForScancode(SDL_SCANCODE_LEFT), DIK_LEFT);
    EXPECT_EQ(KeyCodeForScancode(SDL_SCANCODE_RIGHT), DIK_RIGHT);
    EXPECT_EQ(KeyCodeForScancode(SDL_SCANCODE_DOWN), DIK_DOWN);
    EXPECT_EQ(KeyCodeForScancode(SDL_SCANCODE_KP_ENTER), DIK_NUMPADENTER);
    EXPECT_EQ(KeyCodeForScancode(SDL_SCANCODE_UNKNOWN), 0);
    EXPECT_EQ(KeyCodeForScancode(-1), 0);
    EXPECT_EQ(KeyCodeForScancode(SDL_NUM_SCANCODES), 0);
}

TEST(KeyMap, EveryKeyOfAFullKeyboardHasItsOwnCode) {
    // Letters, digits, function keys, the editing and keypad blocks and the modifiers are all
    // mapped, and no two share a code, except the ISO keyboard's '#' key, which the platform
    // reports as the backslash key whose place it takes.
    std::set<int> codes;
    auto check = [&](int scancode) {
        int code = winapi::hooks::KeyCodeForScancode(scancode);
        EXPECT_NE(code, 0) << "scancode " << scancode;
        if (scancode != SDL_SCANCODE_NONUSHASH) {
            EXPECT_TRUE(codes.insert(code).second) << "scancode " << scancode;
        }
    };
    for (int scancode = SDL_SCANCODE_A; scancode <= SDL_SCANCODE_KP_PERIOD; ++scancode) {
        check(scancode);
    }
    for (int scancode = SDL_SCANCODE_LCTRL; scancode <= SDL_SCANCODE_RGUI; ++scancode) {
        check(scancode);
    }
    EXPECT_EQ(winapi::hooks::KeyCodeForScancode(SDL_SCANCODE_NONUSHASH), DIK_BACKSLASH);
}

} // namespace
