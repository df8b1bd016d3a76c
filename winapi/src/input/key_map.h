#pragma once
// From SDL2 scancodes (USB usage numbers) to DirectInput key codes (the keyboard's scan codes).

#include <cstdint>

namespace winapi::input {

// 0 for scancodes that have no DirectInput key.
std::uint8_t KeyCodeForScancode(int scancode);

} // namespace winapi::input
