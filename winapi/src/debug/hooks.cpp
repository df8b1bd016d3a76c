#include "winapi/hooks/debug.h"

#include "debug/redirections.h"

namespace winapi::hooks {

void CaptureDebugOutput(std::vector<std::string>* pieces) {
    std::lock_guard lock(debug::redirections.mutex);
    debug::redirections.capturedPieces = pieces;
}

void SetMessageBoxHandler(MessageBoxHandler handler) {
    std::lock_guard lock(debug::redirections.mutex);
    debug::redirections.messageBoxHandler = std::move(handler);
}

void SetDebugBreakHandler(std::function<void()> handler) {
    std::lock_guard lock(debug::redirections.mutex);
    debug::redirections.breakHandler = std::move(handler);
}

void ResetDebugHooks() {
    CaptureDebugOutput(nullptr);
    SetMessageBoxHandler(nullptr);
    SetDebugBreakHandler(nullptr);
}

} // namespace winapi::hooks
