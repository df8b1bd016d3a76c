// GetFileAttributesA over stat(2).

#include "path/platform_path.h"
#include "winapi/fileapi.h"

#include <cerrno>
#include <sys/stat.h>

DWORD GetFileAttributesA(LPCSTR fileName) {
    if (fileName == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_FILE_ATTRIBUTES;
    }
    if (*fileName == '\0') {
        SetLastError(ERROR_INVALID_NAME);
        return INVALID_FILE_ATTRIBUTES;
    }
    const std::optional<std::string> linuxPath = winapi::path::ToLinux(fileName);
    if (!linuxPath) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return INVALID_FILE_ATTRIBUTES;
    }
    struct stat info {};
    if (::stat(linuxPath->c_str(), &info) != 0) {
        SetLastError(winapi::path::LookupError(*linuxPath, errno));
        return INVALID_FILE_ATTRIBUTES;
    }
    DWORD attributes = 0;
    if (S_ISDIR(info.st_mode)) {
        attributes |= FILE_ATTRIBUTE_DIRECTORY;
    }
    if ((info.st_mode & S_IWUSR) == 0) {
        attributes |= FILE_ATTRIBUTE_READONLY;
    }
    const std::size_t slash = linuxPath->find_last_of('/');
    if (slash + 1 < linuxPath->size() && (*linuxPath)[slash + 1] == '.') {
        attributes |= FILE_ATTRIBUTE_HIDDEN;
    }
    return attributes != 0 ? attributes : FILE_ATTRIBUTE_NORMAL;
}
