#pragma once
// Test hooks for the shell's file opener.

#include <functional>
#include <string>
#include <vector>

namespace winapi::hooks {

// While set, ShellExecuteA hands the command it would start (the opener program, then the file's
// Linux path) to this instead of starting it; false reports the start as failed (no association).
// An empty function restores the real start.
using OpenerHandler = std::function<bool(const std::vector<std::string>& command)>;
void SetOpenerHandler(OpenerHandler handler);

// The program that opens files, looked up on PATH: "xdg-open" unless set; empty restores it.
void SetOpenerProgram(std::string program);

// The real opener, xdg-open, again.
void ResetShellHooks();

} // namespace winapi::hooks
