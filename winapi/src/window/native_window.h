#pragma once
// The SDL2 window behind a window record. Without a display (or in headless runs) a window has
// none, and these do nothing.

#include "window/window_table.h"

namespace winapi::window {

// A hidden SDL2 window of the record's title, place and size; null without a display.
SDL_Window* OpenNativeWindow(const Window& window);
void ShowNativeWindow(Window& window, int showCommand);

} // namespace winapi::window
