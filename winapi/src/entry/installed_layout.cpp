#include "installed_layout.h"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>

namespace winapi::entry {
namespace {

bool IsFolder(const std::string& path) {
    struct stat info {};
    return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

} // namespace

std::string InstalledDataFolder(const std::string& executable) {
    const std::size_t slash = executable.find_last_of('/');
    if (slash == std::string::npos) {
        return {};
    }
    std::string data = executable.substr(0, slash) + "/../share/quillerby";
    return IsFolder(data) ? data : std::string();
}

std::string StateFolder(const char* xdgStateHome, const char* home) {
    // A relative value is ignored, as the XDG base directory rules ask.
    if (xdgStateHome != nullptr && xdgStateHome[0] == '/') {
        return std::string(xdgStateHome) + "/quillerby";
    }
    if (home != nullptr && home[0] == '/') {
        return std::string(home) + "/.local/state/quillerby";
    }
    return {};
}

std::string MakePrivateFolder(const std::string& folder) {
    std::size_t end = 0;
    do {
        end = folder.find('/', end + 1);
        const std::string step = folder.substr(0, end);
        if (::mkdir(step.c_str(), 0700) != 0 && errno != EEXIST) {
            return step + ": " + std::strerror(errno);
        }
    } while (end != std::string::npos);
    return IsFolder(folder) ? std::string() : folder + ": not a folder";
}

std::string AbsoluteFrom(const std::string& folder, const std::string& path) {
    return path.empty() || path.front() == '/' ? path : folder + '/' + path;
}

} // namespace winapi::entry
