// The foreground window: the one window this process shows, if any.

#include "winapi/winuser.h"

HWND GetForegroundWindow() { return nullptr; }
