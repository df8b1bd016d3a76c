#pragma once
// What the input test hooks have set: the headless keyboard and mouse, and injected failures.

#include "kernel/injected_failures.h"
#include "winapi/hooks/input.h"

#include <array>
#include <dinput.h>

namespace winapi::input {

inline constexpr std::size_t kInputCalls = static_cast<std::size_t>(hooks::InputCall::Acquire) + 1;
extern InjectedFailures<hooks::InputCall, HRESULT, kInputCalls> injectedFailures;

// The result this call is to fail with, or DI_OK.
inline HRESULT InjectedFailure(hooks::InputCall call) {
    return injectedFailures.For(call);
}

// The headless keyboard and mouse, as the hooks set them.
extern std::array<BYTE, 256> headlessKeyboard;
extern DIMOUSESTATE headlessMouse;
// Whether SDL2's game controllers join the headless keyboard.
extern bool headlessControllers;

const std::array<BYTE, 256>& HeadlessKeyboardState();
// The hook mouse's state; its movement starts again from zero.
DIMOUSESTATE TakeHeadlessMouseState();

} // namespace winapi::input
