#pragma once
// The thread's queue of posted messages and its quit request.

#include "winapi/winuser.h"

#include <cstddef>

namespace winapi::window {

// The limit of posted messages, as on the platform.
inline constexpr std::size_t kQueueLimit = 10000;

bool Post(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
bool HasQueued(HWND window, UINT message);
// Drops the messages posted to a window that is going away.
void DropMessagesFor(HWND window);
std::size_t QueuedCount();
void ClearQueue();

} // namespace winapi::window
