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

} // namespace winapi::window
