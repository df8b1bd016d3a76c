#pragma once
// Test hooks for the debugger output, message boxes and breakpoints.

#include "winapi/types.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace winapi::hooks {

// While set, each OutputDebugString call appends its text (wide text as UTF-8) as one element
// instead of writing to standard error. Null restores standard error.
void CaptureDebugOutput(std::vector<std::string>* pieces);

// While set, MessageBoxA/W call this (texts as UTF-8) instead of showing anything and return
// what it returns. An empty function restores the real dialog.
using MessageBoxHandler =
    std::function<int(HWND owner, std::string_view text, std::string_view caption, UINT type)>;
void SetMessageBoxHandler(MessageBoxHandler handler);

// While set, DebugBreak calls this instead of breaking or writing its line.
void SetDebugBreakHandler(std::function<void()> handler);

// Output to standard error, real dialogs and breakpoints again.
void ResetDebugHooks();

} // namespace winapi::hooks
