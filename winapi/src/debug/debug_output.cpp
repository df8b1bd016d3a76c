// Debugger output and breakpoints: standard error stands in for the debugger's output window.

#include "text/utf.h"
#include "winapi/debugapi.h"
#include "winapi/hooks/debug.h"

#include <csignal>
#include <cstring>
#include <fstream>
#include <mutex>
#include <string>
#include <unistd.h>

namespace {

std::mutex hookMutex;
std::vector<std::string>* capturedPieces = nullptr;
std::function<void()> debugBreakHandler;

// One write(2) per piece, so that pieces from different threads do not interleave mid-text.
void WriteToStandardError(std::string_view text) {
    while (!text.empty()) {
        const ssize_t written = ::write(STDERR_FILENO, text.data(), text.size());
        if (written <= 0) {
            return;
        }
        text.remove_prefix(static_cast<std::size_t>(written));
    }
}

void Emit(std::string_view text) {
    {
        std::lock_guard lock(hookMutex);
        if (capturedPieces != nullptr) {
            capturedPieces->emplace_back(text);
            return;
        }
    }
    WriteToStandardError(text);
}

} // namespace

void OutputDebugStringA(LPCSTR text) {
    if (text != nullptr) {
        Emit(text);
    }
}

void OutputDebugStringW(LPCWSTR text) {
    if (text != nullptr) {
        Emit(winapi::text::Utf16ToUtf8(text));
    }
}

BOOL IsDebuggerPresent() {
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("TracerPid:", 0) == 0) {
            return std::stol(line.substr(10)) != 0 ? TRUE : FALSE;
        }
    }
    return FALSE;
}

void DebugBreak() {
    std::function<void()> handler;
    {
        std::lock_guard lock(hookMutex);
        handler = debugBreakHandler;
    }
    if (handler) {
        handler();
    } else if (IsDebuggerPresent()) {
        std::raise(SIGTRAP);
    } else {
        WriteToStandardError("DebugBreak: no debugger attached; continuing\n");
    }
}

namespace winapi::hooks {

void CaptureDebugOutput(std::vector<std::string>* pieces) {
    std::lock_guard lock(hookMutex);
    capturedPieces = pieces;
}

void SetDebugBreakHandler(std::function<void()> handler) {
    std::lock_guard lock(hookMutex);
    debugBreakHandler = std::move(handler);
}

} // namespace winapi::hooks
