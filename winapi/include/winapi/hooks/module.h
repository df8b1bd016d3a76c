#pragma once
// Test hooks for the executable's module.

#include <string>

namespace winapi::hooks {

// Makes GetModuleFileNameA report this Linux path (absolute) as the executable's, so a test can
// pretend the program lives in a folder tree of its own. Empty restores the real path.
void SetExecutablePath(std::string linuxPath);

// The real executable's path again.
void ResetModuleHooks();

} // namespace winapi::hooks
