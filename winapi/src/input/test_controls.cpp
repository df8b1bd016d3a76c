#include "input/test_controls.h"

#include <algorithm>
#include <set>

namespace winapi::input {
namespace {

std::set<hooks::InputCall> failing;
std::array<BYTE, 256> keyboard{};
DIMOUSESTATE mouse{};

} // namespace

bool ShouldFail(hooks::InputCall call) {
    return failing.contains(call);
}

const std::array<BYTE, 256>& HookKeyboardState() {
    return keyboard;
}

DIMOUSESTATE TakeHookMouseState() {
    DIMOUSESTATE state = mouse;
    mouse.lX = mouse.lY = mouse.lZ = 0;
    return state;
}

} // namespace winapi::input

namespace winapi::hooks {

void SetKeyboardState(std::span<const BYTE, 256> keys) {
    std::copy(keys.begin(), keys.end(), input::keyboard.begin());
}

void SetKeysDown(std::initializer_list<BYTE> keys) {
    input::keyboard.fill(0);
    for (BYTE key : keys) {
        input::keyboard[key] = 0x80;
    }
}

void MoveMouse(LONG dx, LONG dy, LONG wheel) {
    input::mouse.lX += dx;
    input::mouse.lY += dy;
    input::mouse.lZ += wheel;
}

void SetMouseButton(int button, bool down) {
    if (button >= 0 && button < 4) {
        input::mouse.rgbButtons[button] = down ? 0x80 : 0;
    }
}

void SetInputFailure(InputCall call, bool fail) {
    if (fail) {
        input::failing.insert(call);
    } else {
        input::failing.erase(call);
    }
}

void ResetInput() {
    input::failing.clear();
    input::keyboard.fill(0);
    input::mouse = DIMOUSESTATE{};
}

} // namespace winapi::hooks
