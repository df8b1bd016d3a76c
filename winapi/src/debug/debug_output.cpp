// Debugger output and breakpoints: standard error stands in for the debugger's output window.

#include "debug/redirections.h"
#include "text/utf.h"
#include "winapi/debugapi.h"

#include <csignal>
#include <cstring>
#include <fstream>
#include <mutex>
#include <string>
#include <unistd.h>

namespace winapi::debug {

Redirections redirections;

} // namespace winapi::debug

namespace {

using winapi::debug::redirections;

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
        std::lock_guard lock(redirections.mutex);
        if (redirections.capturedPieces != nullptr) {
            redirections.capturedPieces->emplace_back(text);
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
        std::lock_guard lock(redirections.mutex);
        handler = redirections.breakHandler;
    }
    if (handler) {
        handler();
    } else if (IsDebuggerPresent()) {
        std::raise(SIGTRAP);
    } else {
        WriteToStandardError("DebugBreak: no debugger attached; continuing\n");
    }
}
