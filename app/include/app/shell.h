#pragma once
// The program's entry: the main window, the log file, the set-up chain, the main loop and the
// shutdown on the destroy message.

#include <windows.h>

// Both the window class name and the window caption.
extern const char appTitle[];

ATOM RegisterWindowClass(HINSTANCE instance);
LRESULT CALLBACK WinProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
