#pragma once
// The SDL2 window behind a window record. Without a display (or in headless runs) a window has
// none, and these do nothing.

#include "window/window_table.h"

namespace winapi::window {

// A hidden SDL2 window of the record's title, place and size; null without a display.
SDL_Window* OpenNativeWindow(const Window& window);
void ShowNativeWindow(Window& window, int showCommand);

// Makes the SDL window cover its whole display, borderless. False when SDL2 refuses.
bool ShowNativeFullScreen(Window& window);
// Makes it a bordered, resizable window of its windowed size, centred on its display.
void ShowNativeWindowed(Window& window);
// Leaves full screen, as before a device took the window.
void LeaveNativeFullScreen(Window& window);

} // namespace winapi::window
