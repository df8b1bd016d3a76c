#pragma once
// Where the debug hooks send debugger output, breakpoints and message boxes instead of the
// defaults (standard error, SIGTRAP under a debugger, an SDL2 dialog).

#include "winapi/types.h"

#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

namespace winapi::debug {

struct Redirections {
    std::mutex mutex; // guards the members below
    std::vector<std::string>* capturedPieces = nullptr;
    std::function<void()> breakHandler;
    std::function<int(HWND, std::string_view, std::string_view, UINT)> messageBoxHandler;
};
extern Redirections redirections;

} // namespace winapi::debug
