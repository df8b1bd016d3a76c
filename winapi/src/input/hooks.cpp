#include "winapi/hooks/input.h"

#include "input/key_map.h"
#include "input/test_controls.h"

#include <algorithm>

namespace winapi::hooks {

void SetKeyboardState(std::span<const BYTE, 256> keys) {
    std::copy(keys.begin(), keys.end(), input::headlessKeyboard.begin());
}

void SetKeysDown(std::initializer_list<BYTE> keys) {
    input::headlessKeyboard.fill(0);
    for (BYTE key : keys) {
        input::headlessKeyboard[key] = 0x80;
    }
}

void MoveMouse(LONG dx, LONG dy, LONG wheel) {
    input::headlessMouse.lX += dx;
    input::headlessMouse.lY += dy;
    input::headlessMouse.lZ += wheel;
}

void SetMouseButton(int button, bool down) {
    if (button >= 0 && button < 4) {
        input::headlessMouse.rgbButtons[button] = down ? 0x80 : 0;
    }
}

void UseGameControllers(bool use) {
    input::headlessControllers = use;
}

void FailInputCall(InputCall call, HRESULT result) {
    input::injectedFailures.Set(call, FAILED(result) ? result : DI_OK);
}

void ResetInputHooks() {
    input::injectedFailures.Clear();
    input::headlessKeyboard.fill(0);
    input::headlessMouse = DIMOUSESTATE{};
    input::headlessControllers = false;
}

BYTE KeyCodeForScancode(int scancode) {
    return input::KeyCodeForScancode(scancode);
}

} // namespace winapi::hooks
