// Window classes and windows: registering, creating, showing and destroying.

#include "input/recorder.h"
#include "winapi/errhandlingapi.h"
#include "winapi/winerror.h"
#include "window/message_queue.h"
#include "window/native_window.h"
#include "window/window_table.h"

#include <SDL.h>
#include <algorithm>

using namespace winapi::window;

namespace {

constexpr DWORD kErrorInvalidWindowHandle = 1400;
constexpr DWORD kErrorClassAlreadyExists = 1410;
constexpr DWORD kErrorClassDoesNotExist = 1411;
constexpr DWORD kErrorCannotFindWindowClass = 1407;

LRESULT Send(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    Window* window = FindWindow(handle);
    if (window == nullptr || window->procedure == nullptr) {
        return 0;
    }
    return window->procedure(handle, message, wParam, lParam);
}

// Where CW_USEDEFAULT puts a window: a pop-up at the screen's top-left corner, others where the
// desktop likes.
int DefaultPosition(DWORD style) {
    return (style & WS_POPUP) ? 0 : static_cast<int>(SDL_WINDOWPOS_UNDEFINED);
}

void SetShown(HWND handle, bool shown, int showCommand) {
    Window* window = FindWindow(handle);
    if (window == nullptr) {
        return;
    }
    bool changed = window->visible != shown;
    SetVisible(*window, shown);
    if (shown) {
        window->needsPaint = true;
        window->style |= WS_VISIBLE;
    } else {
        window->style &= ~static_cast<DWORD>(WS_VISIBLE);
    }
    ShowNativeWindow(*window, showCommand);
    if (changed) {
        Send(handle, WM_SHOWWINDOW, shown ? TRUE : FALSE, 0);
    }
}

} // namespace

ATOM RegisterClassExA(const WNDCLASSEXA* windowClass) {
    if (windowClass == nullptr || windowClass->cbSize != sizeof(WNDCLASSEXA) ||
        windowClass->lpfnWndProc == nullptr || windowClass->lpszClassName == nullptr ||
        windowClass->lpszClassName[0] == '\0') {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (FindClass(windowClass->lpszClassName) != nullptr) {
        SetLastError(kErrorClassAlreadyExists);
        return 0;
    }
    return AddClass(WindowClass{windowClass->lpszClassName, 0, windowClass->style,
                                windowClass->lpfnWndProc, windowClass->hInstance,
                                windowClass->hCursor, windowClass->hbrBackground});
}

BOOL UnregisterClassA(LPCSTR className, HINSTANCE) {
    if (!RemoveClass(className)) {
        SetLastError(kErrorClassDoesNotExist);
        return FALSE;
    }
    return TRUE;
}

HWND CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y,
                     int width, int height, HWND parent, HMENU menu, HINSTANCE instance,
                     LPVOID param) {
    const WindowClass* windowClass = FindClass(className);
    if (windowClass == nullptr) {
        SetLastError(kErrorCannotFindWindowClass);
        return nullptr;
    }
    Window window;
    window.handle = NewWindowHandle();
    window.className = windowClass->name;
    window.procedure = windowClass->procedure;
    window.title = windowName != nullptr ? windowName : "";
    window.style = style & ~static_cast<DWORD>(WS_VISIBLE);
    window.exStyle = exStyle;
    window.x = x == CW_USEDEFAULT ? DefaultPosition(style) : x;
    window.y = x == CW_USEDEFAULT ? DefaultPosition(style) : y;
    bool defaultSize = width == CW_USEDEFAULT;
    window.width = defaultSize ? 640 : std::max(width, 0);
    window.height = defaultSize ? 480 : std::max(height, 0);
    window.native = OpenNativeWindow(window);
    HWND handle = AddWindow(std::move(window)).handle;

    CREATESTRUCTA creation{
        param,      instance,  menu,   parent, height, width, y, x, static_cast<LONG>(style),
        windowName, className, exStyle};
    auto creationParam = reinterpret_cast<LPARAM>(&creation);
    if (Send(handle, WM_NCCREATE, 0, creationParam) == FALSE) {
        Send(handle, WM_NCDESTROY, 0, 0);
        RemoveWindow(handle);
        return nullptr;
    }
    if (Send(handle, WM_CREATE, 0, creationParam) == -1) {
        DestroyWindow(handle);
        return nullptr;
    }
    if ((style & WS_VISIBLE) && FindWindow(handle) != nullptr) {
        SetShown(handle, true, SW_SHOW);
    }
    return FindWindow(handle) != nullptr ? handle : nullptr;
}

BOOL ShowWindow(HWND handle, int showCommand) {
    Window* window = FindWindow(handle);
    if (window == nullptr) {
        SetLastError(kErrorInvalidWindowHandle);
        return FALSE;
    }
    bool wasVisible = window->visible;
    SetShown(handle, showCommand != SW_HIDE, showCommand);
    return wasVisible ? TRUE : FALSE;
}

BOOL UpdateWindow(HWND handle) {
    Window* window = FindWindow(handle);
    if (window == nullptr) {
        SetLastError(kErrorInvalidWindowHandle);
        return FALSE;
    }
    if (window->visible && window->needsPaint) {
        window->needsPaint = false;
        Send(handle, WM_PAINT, 0, 0);
    }
    return TRUE;
}

BOOL DestroyWindow(HWND handle) {
    Window* window = FindWindow(handle);
    if (window == nullptr || window->destroying) {
        SetLastError(kErrorInvalidWindowHandle);
        return FALSE;
    }
    window->destroying = true;
    if (window->visible) {
        SetShown(handle, false, SW_HIDE);
    }
    Send(handle, WM_DESTROY, 0, 0);
    Send(handle, WM_NCDESTROY, 0, 0);
    DropMessagesFor(handle);
    RemoveWindow(handle);
    return TRUE;
}

BOOL IsWindow(HWND handle) {
    return FindWindow(handle) != nullptr ? TRUE : FALSE;
}

LRESULT DispatchMessageA(const MSG* message) {
    if (message == nullptr || message->hwnd == nullptr) {
        return 0;
    }
    if (FindWindow(message->hwnd) == nullptr) {
        SetLastError(kErrorInvalidWindowHandle);
        return 0;
    }
    return Send(message->hwnd, message->message, message->wParam, message->lParam);
}

LRESULT SendMessageA(HWND handle, UINT message, WPARAM wParam, LPARAM lParam) {
    if (FindWindow(handle) == nullptr) {
        SetLastError(kErrorInvalidWindowHandle);
        return 0;
    }
    return Send(handle, message, wParam, lParam);
}

LRESULT DefWindowProcA(HWND handle, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_NCCREATE:
        return TRUE;
    case WM_CLOSE:
        // A ride being recorded ends the way it ended here: by a close request, not by a key.
        winapi::input::RecordWindowClose();
        DestroyWindow(handle);
        return 0;
    case WM_SYSCOMMAND:
        if ((wParam & 0xFFF0) == SC_CLOSE) {
            SendMessageA(handle, WM_CLOSE, 0, 0);
        }
        return 0;
    default:
        return 0;
    }
}
