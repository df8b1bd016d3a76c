#pragma once
// The desktop's events (SDL2's), turned into messages: a window closed by the desktop, or the
// desktop asking the program to quit, reaches the windows as WM_CLOSE. Mouse wheel turns go to
// the mouse device. Alt+Enter switches between full screen and a window (display_mode.h).

namespace winapi::window {

void CollectDesktopEvents();
// WM_CLOSE to every window that has none waiting.
void PostCloseToEveryWindow();

} // namespace winapi::window
