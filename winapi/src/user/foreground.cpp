// The foreground window: the one window this process shows, if any. Trace output asks for it to
// own a message box, from whichever thread failed, so the window table answers under its lock.

#include "winapi/winuser.h"
#include "window/window_table.h"

HWND GetForegroundWindow() {
    return winapi::window::LastVisibleWindow();
}
