#pragma once
// Test hooks for windows and the message queue. (Headless runs, with windows that are records
// only, are chosen with winapi::SelectProfile.)

#include "winapi/types.h"

#include <cstddef>

struct SDL_Window;

namespace winapi::hooks {

// Forgets every window (closing its SDL2 window, sending no messages), window class and queued
// message, the quit request and the display mode (neither chosen nor read from the registry yet),
// so that the next test starts from a fresh process's state.
void ResetWindowHooks();

// What the desktop does when the user closes the program: WM_CLOSE posted to every window.
void SimulateDesktopClose();

// What Alt+Enter does: full screen and window change places, and the new mode is remembered.
void SimulateDisplayModeSwitch();
// What the programs' --windowed does at start: windowed for this run, and remembered.
void SimulateWindowedOption();
// Whether full-screen devices show in a window (reading the remembered mode if nothing has yet).
bool ShowsWindowed();

// The number of messages waiting in the queue (the quit request not counted).
std::size_t QueuedMessageCount();

// The SDL2 window behind a window on the desktop profile; null for none.
SDL_Window* NativeWindow(HWND window);

} // namespace winapi::hooks
