// Posting and taking messages: PostMessageA, PostQuitMessage, PeekMessageA, TranslateMessage.

#include "window/message_queue.h"

#include "winapi/errhandlingapi.h"
#include "winapi/timeapi.h"
#include "window/desktop_events.h"
#include "window/window_table.h"

#include <algorithm>
#include <deque>
#include <optional>

namespace winapi::window {
namespace {

std::deque<MSG> queue;
std::optional<int> quitRequest;

// A filter of (HWND)-1 takes only messages posted to the thread, as on the platform.
const HWND kThreadMessagesOnly = reinterpret_cast<HWND>(-1);

bool PassesFilter(const MSG& message, HWND window, UINT filterMin, UINT filterMax) {
    bool windowMatches = window == nullptr || message.hwnd == window ||
                         (window == kThreadMessagesOnly && message.hwnd == nullptr);
    bool anyMessage = filterMin == 0 && filterMax == 0;
    bool inRange = message.message >= filterMin && message.message <= filterMax;
    return windowMatches && (anyMessage || inRange);
}

} // namespace

bool Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (queue.size() >= kQueueLimit) {
        return false;
    }
    // The message time comes from the same clock as the tick count, without its polling sleep.
    queue.push_back(MSG{window, message, wParam, lParam, timeGetTime(), POINT{0, 0}});
    return true;
}

bool HasQueued(HWND window, UINT message) {
    return std::any_of(queue.begin(), queue.end(), [&](const MSG& queued) {
        return queued.hwnd == window && queued.message == message;
    });
}

void DropMessagesFor(HWND window) {
    std::erase_if(queue, [&](const MSG& queued) { return queued.hwnd == window; });
}

std::size_t QueuedCount() {
    return queue.size();
}

void ClearQueue() {
    queue.clear();
    quitRequest.reset();
}

} // namespace winapi::window

using namespace winapi::window;

BOOL PostMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (window != nullptr && FindWindow(window) == nullptr) {
        SetLastError(1400); // ERROR_INVALID_WINDOW_HANDLE
        return FALSE;
    }
    if (!Post(window, message, wParam, lParam)) {
        SetLastError(1816); // ERROR_NOT_ENOUGH_QUOTA
        return FALSE;
    }
    return TRUE;
}

void PostQuitMessage(int exitCode) {
    quitRequest = exitCode;
}

BOOL PeekMessageA(LPMSG message, HWND window, UINT filterMin, UINT filterMax, UINT removeFlags) {
    if (message == nullptr) {
        return FALSE;
    }
    CollectDesktopEvents();
    auto found = std::find_if(queue.begin(), queue.end(), [&](const MSG& queued) {
        return PassesFilter(queued, window, filterMin, filterMax);
    });
    if (found != queue.end()) {
        *message = *found;
        if (removeFlags & PM_REMOVE) {
            queue.erase(found);
        }
        return TRUE;
    }
    MSG quit{nullptr, WM_QUIT, 0, 0, timeGetTime(), POINT{0, 0}};
    if (quitRequest && window == nullptr && PassesFilter(quit, window, filterMin, filterMax)) {
        quit.wParam = static_cast<WPARAM>(*quitRequest);
        *message = quit;
        if (removeFlags & PM_REMOVE) {
            quitRequest.reset();
        }
        return TRUE;
    }
    return FALSE;
}

BOOL TranslateMessage(const MSG*) {
    return FALSE;
}
