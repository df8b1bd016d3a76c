#include "window/native_window.h"

#include "window/display.h"

#include <SDL.h>
#include <algorithm>

namespace winapi::window {

SDL_Window* OpenNativeWindow(const Window& window) {
    if (!VideoAvailable()) {
        return nullptr;
    }
    Uint32 flags = SDL_WINDOW_HIDDEN;
    if (window.style & WS_POPUP) {
        flags |= SDL_WINDOW_BORDERLESS;
    }
    if (window.style & WS_THICKFRAME) {
        flags |= SDL_WINDOW_RESIZABLE;
    }
    if (window.exStyle & WS_EX_TOPMOST) {
        flags |= SDL_WINDOW_ALWAYS_ON_TOP;
    }
    return SDL_CreateWindow(window.title.c_str(), window.x, window.y, std::max(window.width, 1),
                            std::max(window.height, 1), flags);
}

void ShowNativeWindow(Window& window, int showCommand) {
    if (window.native == nullptr) {
        return;
    }
    switch (showCommand) {
    case SW_HIDE:
        SDL_HideWindow(window.native);
        break;
    case SW_SHOWMINIMIZED:
    case SW_MINIMIZE:
        SDL_ShowWindow(window.native);
        SDL_MinimizeWindow(window.native);
        break;
    case SW_SHOWMAXIMIZED:
        SDL_ShowWindow(window.native);
        SDL_MaximizeWindow(window.native);
        break;
    case SW_RESTORE:
        SDL_ShowWindow(window.native);
        SDL_RestoreWindow(window.native);
        break;
    default:
        SDL_ShowWindow(window.native);
        SDL_RaiseWindow(window.native);
        break;
    }
}

bool ShowNativeFullScreen(Window& window) {
    if (window.native == nullptr) {
        return true;
    }
    if (window.shownWindowed) {
        SDL_GetWindowSize(window.native, &window.windowedWidth, &window.windowedHeight);
        window.shownWindowed = false;
    }
    SDL_Rect display{};
    if (SDL_GetDisplayBounds(std::max(SDL_GetWindowDisplayIndex(window.native), 0), &display) !=
        0) {
        return false;
    }
    // Without a window manager nobody acts on the full-screen request: the X window would keep its
    // place and size while SDL2 takes it for the display's. So the window is first put over the
    // display by hand; a window manager then makes it full screen as usual.
    SDL_SetWindowBordered(window.native, SDL_FALSE);
    SDL_SetWindowPosition(window.native, display.x, display.y);
    SDL_SetWindowSize(window.native, display.w, display.h);
    return SDL_SetWindowFullscreen(window.native, SDL_WINDOW_FULLSCREEN_DESKTOP) == 0;
}

void ShowNativeWindowed(Window& window) {
    if (window.native == nullptr) {
        return;
    }
    SDL_SetWindowFullscreen(window.native, 0);
    SDL_SetWindowBordered(window.native, SDL_TRUE);
    SDL_SetWindowResizable(window.native, SDL_TRUE);
    SDL_SetWindowSize(window.native, std::max(window.windowedWidth, 1),
                      std::max(window.windowedHeight, 1));
    // Centred each time rather than put back where it was: a window manager's frame, whose size
    // SDL2 may not know yet, would shift a restored place a little further at every switch.
    SDL_SetWindowPosition(window.native, SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED);
    window.shownWindowed = true;
}

void LeaveNativeFullScreen(Window& window) {
    if (window.native != nullptr) {
        SDL_SetWindowFullscreen(window.native, 0);
    }
}

} // namespace winapi::window
