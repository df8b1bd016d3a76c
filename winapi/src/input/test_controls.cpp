#include "input/test_controls.h"

namespace winapi::input {

InjectedFailures<hooks::InputCall, HRESULT, kInputCalls> injectedFailures;
std::array<BYTE, 256> headlessKeyboard{};
DIMOUSESTATE headlessMouse{};
bool headlessControllers = false;

const std::array<BYTE, 256>& HeadlessKeyboardState() {
    return headlessKeyboard;
}

DIMOUSESTATE TakeHeadlessMouseState() {
    DIMOUSESTATE state = headlessMouse;
    headlessMouse.lX = headlessMouse.lY = headlessMouse.lZ = 0;
    return state;
}

} // namespace winapi::input
