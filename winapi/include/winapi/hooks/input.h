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

// While on, the game controllers that SDL2 knows of (a test attaches virtual ones) hold keys of
// the headless keyboard as on the desktop: d-pad and left stick the arrows, south button Space,
// east button B, Start and Back Escape. Off, their SDL2 subsystem is stopped again at the next
// read.
void UseGameControllers(bool use);

// Platform calls that can be made to fail, to reach the callers' failure paths.
enum class InputCall {
    DirectInput8Create,
    CreateMouse,
    CreateKeyboard,
    SetDataFormat,       // on either device
    SetCooperativeLevel, // on either device
    Acquire,             // on either device
};
// Every later call of that kind fails with `result`; a success code lets them succeed again.
void FailInputCall(InputCall call, HRESULT result);

// All keys up, mouse still, no controllers, no failures.
void ResetInputHooks();

// The DirectInput key code of an SDL2 scancode (0 for none), as the desktop keyboard maps it.
BYTE KeyCodeForScancode(int scancode);

} // namespace winapi::hooks
