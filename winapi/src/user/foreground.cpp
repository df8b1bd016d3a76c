// The foreground window: the one window this process shows, if any.

#include "winapi/winuser.h"
#include "window/window_table.h"

HWND GetForegroundWindow() {
    auto handles = winapi::window::WindowHandles();
    for (auto handle = handles.rbegin(); handle != handles.rend(); ++handle) {
        if (winapi::window::FindWindow(*handle)->visible) {
            return *handle;
        }
    }
    return nullptr;
}
