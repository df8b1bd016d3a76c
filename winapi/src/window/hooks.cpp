#include "winapi/hooks/window.h"

#include "window/desktop_events.h"
#include "window/display_mode.h"
#include "window/message_queue.h"
#include "window/window_table.h"

namespace winapi::hooks {

void ResetWindowHooks() {
    window::ForgetAllWindows();
    window::ClearQueue();
    window::ForgetDisplayMode();
}

void SimulateDesktopClose() {
    window::PostCloseToEveryWindow();
}

void SimulateDisplayModeSwitch() {
    window::ToggleDisplayMode();
}

void SimulateWindowedOption() {
    window::StartWindowed();
}

bool ShowsWindowed() {
    return window::CurrentDisplayMode() == window::DisplayMode::Windowed;
}

std::size_t QueuedMessageCount() {
    return window::QueuedCount();
}

SDL_Window* NativeWindow(HWND window) {
    const window::Window* record = window::FindWindow(window);
    return record != nullptr ? record->native : nullptr;
}

} // namespace winapi::hooks
