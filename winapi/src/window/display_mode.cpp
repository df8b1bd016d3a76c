#include "window/display_mode.h"

#include "window/native_window.h"
#include "window/remembered_mode.h"

#include <optional>

namespace winapi::window {
namespace {

std::optional<DisplayMode> mode;

void Choose(DisplayMode chosen) {
    mode = chosen;
    RememberWindowed(chosen == DisplayMode::Windowed);
}

bool ShowInMode(Window& window) {
    if (CurrentDisplayMode() == DisplayMode::Windowed) {
        ShowNativeWindowed(window);
        return true;
    }
    return ShowNativeFullScreen(window);
}

} // namespace

DisplayMode CurrentDisplayMode() {
    if (!mode) {
        mode =
            RememberedWindowed().value_or(false) ? DisplayMode::Windowed : DisplayMode::FullScreen;
    }
    return *mode;
}

void StartWindowed() {
    Choose(DisplayMode::Windowed);
}

void ToggleDisplayMode() {
    Choose(CurrentDisplayMode() == DisplayMode::Windowed ? DisplayMode::FullScreen
                                                         : DisplayMode::Windowed);
    for (HWND handle : WindowHandles()) {
        if (Window* window = FindWindow(handle);
            window != nullptr && window->showsFullScreenDevice) {
            ShowInMode(*window);
        }
    }
}

void ForgetDisplayMode() {
    mode.reset();
}

bool TakeForFullScreenDevice(Window& window, int bufferWidth, int bufferHeight) {
    window.windowedWidth = bufferWidth;
    window.windowedHeight = bufferHeight;
    window.shownWindowed = false;
    if (!ShowInMode(window)) {
        LeaveNativeFullScreen(window);
        return false;
    }
    window.showsFullScreenDevice = true;
    return true;
}

void ReleaseFromFullScreenDevice(Window& window) {
    window.showsFullScreenDevice = false;
    LeaveNativeFullScreen(window);
}

} // namespace winapi::window
