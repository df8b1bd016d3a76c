#include "winapi/hooks/window.h"

#include "window/desktop_events.h"
#include "window/display.h"
#include "window/message_queue.h"
#include "window/window_table.h"

namespace winapi::hooks {

void UseHeadlessDisplay(bool headless) {
    window::SetHeadless(headless);
}

void ResetWindows() {
    window::ForgetAllWindows();
    window::ClearQueue();
}

void SimulateDesktopClose() {
    window::PostCloseToEveryWindow();
}

std::size_t QueuedMessageCount() {
    return window::QueuedCount();
}

} // namespace winapi::hooks
