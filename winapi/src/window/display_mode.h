#pragma once
// Whether the program's full-screen picture covers the whole display or shows in a window of its
// own. The device's parameters do not change with it: the mode is the desktop's business. Alt+Enter
// switches at any moment; the choice is remembered for the next run (remembered_mode.h).

#include "window/window_table.h"

namespace winapi::window {

enum class DisplayMode { FullScreen, Windowed };

// What --windowed asked for, else the remembered choice (read once), else full screen.
DisplayMode CurrentDisplayMode();
// --windowed on the command line: this run starts windowed, and that is remembered.
void StartWindowed();
// Alt+Enter: the other mode, remembered, and shown at once by every window that a full-screen
// device shows through.
void ToggleDisplayMode();
// As at start-up: nothing asked for and nothing read yet.
void ForgetDisplayMode();

// A full-screen device of that back-buffer size now shows through the window, which takes the
// current mode and follows every switch. False when the desktop refuses to show it so.
bool TakeForFullScreenDevice(Window& window, int bufferWidth, int bufferHeight);
// The device has gone: the window leaves full screen and no longer follows the mode.
void ReleaseFromFullScreenDevice(Window& window);

} // namespace winapi::window
