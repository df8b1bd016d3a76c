#include "path/data_folder.h"
#include "winapi/data_folder.h"

#include <cerrno>
#include <mutex>
#include <unistd.h>

namespace {

struct DataFolder {
    std::mutex mutex;
    std::string folder;
};

DataFolder& Current() {
    static DataFolder current;
    return current;
}

} // namespace

namespace winapi {

void SetDataFolder(std::string linuxFolder) {
    std::lock_guard lock(Current().mutex);
    Current().folder = std::move(linuxFolder);
}

} // namespace winapi

namespace winapi::path {

std::string ForReading(std::string linuxPath) {
    std::string folder;
    {
        std::lock_guard lock(Current().mutex);
        folder = Current().folder;
    }
    // Only a name missing from the working folder is looked for there; any other failure (a
    // file that is there but unreadable) is reported for the name as given.
    if (folder.empty() || linuxPath.empty() || linuxPath.front() == '/' ||
        ::access(linuxPath.c_str(), F_OK) == 0 || errno != ENOENT) {
        return linuxPath;
    }
    std::string installed = folder + '/' + linuxPath;
    return ::access(installed.c_str(), F_OK) == 0 ? installed : linuxPath;
}

} // namespace winapi::path
