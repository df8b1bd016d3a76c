#pragma once
// Test hooks for the DirectInput 8 stand-in. In headless runs these are the keyboard and the mouse;
// a script named by WINAPI_INPUT_SCRIPT still takes the keyboard's place.

#include "winapi/types.h"

#include <initializer_list>
#include <span>

namespace winapi::hooks {

// The 256 key bytes that every following keyboard read returns (high bit set while down).
void SetKeyboardState(std::span<const BYTE, 256> keys);
// Shorthand: exactly these DirectInput key codes down, every other key up.
void SetKeysDown(std::initializer_list<BYTE> keys);

// Movement added to what the next mouse read reports; each read starts counting from zero again.
void MoveMouse(LONG dx, LONG dy, LONG wheel);
// Button 0 left, 1 right, 2 middle, 3 extra.
void SetMouseButton(int button, bool down);

// Platform calls that can be made to fail, to reach the callers' failure paths.
enum class InputCall {
    DirectInput8Create,  // DIERR_OUTOFMEMORY
    CreateMouse,         // DIERR_DEVICENOTREG
    CreateKeyboard,      // DIERR_DEVICENOTREG
    SetDataFormat,       // DIERR_INVALIDPARAM, on either device
    SetCooperativeLevel, // DIERR_INVALIDPARAM, on either device
    Acquire,             // DIERR_OTHERAPPHASPRIO, on either device
};
void SetInputFailure(InputCall call, bool fail);

// All keys up, mouse still, no failures.
void ResetInput();

} // namespace winapi::hooks
