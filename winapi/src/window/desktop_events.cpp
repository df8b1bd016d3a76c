#include "window/desktop_events.h"

#include "input/mouse_wheel.h"
#include "window/display.h"
#include "window/display_mode.h"
#include "window/message_queue.h"
#include "window/window_table.h"

#include <SDL.h>

namespace winapi::window {
namespace {

void PostClose(HWND window) {
    if (!HasQueued(window, WM_CLOSE)) {
        Post(window, WM_CLOSE, 0, 0);
    }
}

// Alt+Enter, held keys repeating not counted. The key messages are never posted, so the game
// sees the keys only in the keyboard device's snapshot, where Alt and Enter mean nothing to it.
bool IsDisplayModeSwitch(const SDL_KeyboardEvent& key) {
    return key.repeat == 0 && (key.keysym.mod & KMOD_ALT) != 0 &&
           (key.keysym.sym == SDLK_RETURN || key.keysym.sym == SDLK_KP_ENTER);
}

void Handle(const SDL_Event& event) {
    switch (event.type) {
    case SDL_QUIT:
        PostCloseToEveryWindow();
        break;
    case SDL_WINDOWEVENT:
        if (event.window.event == SDL_WINDOWEVENT_CLOSE) {
            if (Window* window = FindWindowByNative(SDL_GetWindowFromID(event.window.windowID))) {
                PostClose(window->handle);
            }
        }
        break;
    case SDL_KEYDOWN:
        if (IsDisplayModeSwitch(event.key)) {
            ToggleDisplayMode();
        }
        break;
    case SDL_MOUSEWHEEL: {
        int notches =
            event.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -event.wheel.y : event.wheel.y;
        input::AddWheelNotches(notches);
        break;
    }
    default:
        break;
    }
}

} // namespace

void CollectDesktopEvents() {
    if (Headless() || !VideoStarted()) {
        return;
    }
    SDL_Event event;
    while (SDL_PollEvent(&event)) {
        Handle(event);
    }
}

void PostCloseToEveryWindow() {
    for (HWND window : WindowHandles()) {
        PostClose(window);
    }
}

} // namespace winapi::window
