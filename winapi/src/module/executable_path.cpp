#include "module/executable_path.h"

#include "path/platform_path.h"

#include <climits>
#include <cstdlib>
#include <mutex>

namespace {

std::string RealExecutable() {
    char resolved[PATH_MAX];
    if (::realpath("/proc/self/exe", resolved) == nullptr) {
        return {};
    }
    return resolved;
}

} // namespace

namespace winapi::module {

PretendedExecutable pretendedExecutable;

std::string ExecutablePath() {
    std::string linuxPath;
    {
        std::lock_guard lock(pretendedExecutable.mutex);
        linuxPath = pretendedExecutable.path;
    }
    if (linuxPath.empty()) {
        linuxPath = RealExecutable();
    }
    return linuxPath.empty() ? std::string() : winapi::path::FromLinux(linuxPath);
}

} // namespace winapi::module
