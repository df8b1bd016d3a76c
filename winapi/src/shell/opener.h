#pragma once
// Starting the desktop's file opener as a process of its own.

#include <functional>
#include <mutex>
#include <string>
#include <vector>

namespace winapi::shell {

enum class StartResult { Started, NoOpener, OutOfMemory };

// Starts the opener on the file (an absolute Linux path) without waiting for it and without a
// shell: the path is the opener's one argument, whatever characters it holds.
StartResult StartOpener(const std::string& linuxPath);

inline constexpr const char* kDefaultOpener = "xdg-open";

// What the shell hooks have set in place of the opener.
struct OpenerChoice {
    std::mutex mutex; // guards the members below
    std::function<bool(const std::vector<std::string>& command)> handler;
    std::string program = kDefaultOpener;
};
extern OpenerChoice openerChoice;

} // namespace winapi::shell
