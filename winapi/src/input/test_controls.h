#pragma once
// What the input test hooks have set: the headless keyboard and mouse, and injected failures.

#include "winapi/hooks/input.h"

#include <array>
#include <dinput.h>

namespace winapi::input {

bool ShouldFail(hooks::InputCall call);
const std::array<BYTE, 256>& HookKeyboardState();
// The hook mouse's state; its movement starts again from zero.
DIMOUSESTATE TakeHookMouseState();

} // namespace winapi::input
