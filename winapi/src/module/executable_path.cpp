#include "module/executable_path.h"

#include "path/platform_path.h"
#include "winapi/hooks/module.h"

#include <climits>
#include <cstdlib>
#include <mutex>

namespace {

std::mutex hookMutex;
std::string pretendedPath; // Linux form; empty when not set

std::string RealExecutable() {
    char resolved[PATH_MAX];
    if (::realpath("/proc/self/exe", resolved) == nullptr) {
        return {};
    }
    return resolved;
}

} // namespace

namespace winapi::module {

std::string ExecutablePath() {
    std::string linuxPath;
    {
        std::lock_guard lock(hookMutex);
        linuxPath = pretendedPath;
    }
    if (linuxPath.empty()) {
        linuxPath = RealExecutable();
    }
    return linuxPath.empty() ? std::string() : winapi::path::FromLinux(linuxPath);
}

} // namespace winapi::module

namespace winapi::hooks {

void SetExecutablePath(std::string linuxPath) {
    std::lock_guard lock(hookMutex);
    pretendedPath = std::move(linuxPath);
}

} // namespace winapi::hooks
