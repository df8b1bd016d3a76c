#pragma once
// The process's window classes and windows. Records are looked up by handle each time, because a
// window procedure may destroy any window while it runs. Windows are made, changed and destroyed
// by the program's own thread; the table of windows has a lock so that other threads may still ask
// which window is in front.

#include "winapi/winuser.h"

#include <functional>
#include <string>
#include <vector>

struct SDL_Window;

namespace winapi::window {

struct WindowClass {
    std::string name;
    ATOM atom = 0;
    UINT style = 0;
    WNDPROC procedure = nullptr;
    HINSTANCE instance = nullptr;
    HCURSOR cursor = nullptr;
    HBRUSH background = nullptr;
};

struct Window {
    HWND handle = nullptr;
    std::string className;
    WNDPROC procedure = nullptr;
    std::string title;
    DWORD style = 0;
    DWORD exStyle = 0;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool visible = false;
    bool needsPaint = false;
    bool destroying = false;
    SDL_Window* native = nullptr;
    // While a full-screen Direct3D device shows through the window, it follows the display mode.
    bool showsFullScreenDevice = false;
    // The size of the SDL window when the display mode is the window: the device's back-buffer
    // size at first, then the size the user last gave it.
    int windowedWidth = 0;
    int windowedHeight = 0;
    bool shownWindowed = false;
    // Set by whoever draws into the SDL window (a Direct3D device), to let go of it first.
    std::function<void()> beforeNativeClose;
};

// Class names compare without regard to case; a name may also be an atom (MAKEINTATOM).
WindowClass* FindClass(LPCSTR nameOrAtom);
ATOM AddClass(WindowClass windowClass);
bool RemoveClass(LPCSTR nameOrAtom);

Window* FindWindow(HWND handle);
Window& AddWindow(Window window);
// Closes the SDL window (after beforeNativeClose) and forgets the record.
void RemoveWindow(HWND handle);
// Handles of the live windows in the order of creation.
std::vector<HWND> WindowHandles();
// The most recently created visible window, or null when no window is visible. Any thread.
HWND LastVisibleWindow();
// Shows or hides the record; the change is made under the table's lock, which LastVisibleWindow
// reads under.
void SetVisible(Window& window, bool visible);
Window* FindWindowByNative(SDL_Window* native);

// Forgets every window (closing SDL windows) and class, sending nothing.
void ForgetAllWindows();

HWND NewWindowHandle();

} // namespace winapi::window
