#pragma once
// Starting the desktop's file opener as a process of its own.

#include <string>

namespace winapi::shell {

enum class StartResult { Started, NoOpener, OutOfMemory };

// Starts the opener on the file (an absolute Linux path) without waiting for it and without a
// shell: the path is the opener's one argument, whatever characters it holds.
StartResult StartOpener(const std::string& linuxPath);

} // namespace winapi::shell
