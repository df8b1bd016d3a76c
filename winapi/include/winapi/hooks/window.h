#pragma once
// Test hooks for windows and the message queue.

#include "winapi/types.h"

#include <cstddef>

namespace winapi::hooks {

// Headless runs open no SDL2 window and read no real device: windows are records only, the
// Direct3D device draws into memory and hands each presented frame to the graphics frame sink, and
// the keyboard and mouse come from the input hooks. Choose before creating windows or devices.
void UseHeadlessDisplay(bool headless = true);

// Forgets every window (without sending messages), window class and queued message, and the quit
// request, so that the next test starts from a fresh process's state.
void ResetWindows();

// What the desktop does when the user closes the program: WM_CLOSE posted to every window.
void SimulateDesktopClose();

// The number of messages waiting in the queue (the quit request not counted).
std::size_t QueuedMessageCount();

} // namespace winapi::hooks
