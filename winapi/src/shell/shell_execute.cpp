// ShellExecuteA: the verb "open" on an existing file starts the desktop's opener.

#include "path/platform_path.h"
#include "shell/opener.h"
#include "winapi/shellapi.h"

#include <cerrno>
#include <cstdint>
#include <strings.h>
#include <sys/stat.h>

namespace {

// Any value above 32 reports success.
constexpr std::intptr_t kOpened = 42;

HINSTANCE Result(std::intptr_t value) {
    return reinterpret_cast<HINSTANCE>(value);
}

bool IsRelative(const char* file) {
    const bool hasDrive = file[0] != '\0' && file[1] == ':';
    const char first = hasDrive ? file[2] : file[0];
    return first != '\\' && first != '/';
}

} // namespace

HINSTANCE ShellExecuteA(HWND, LPCSTR operation, LPCSTR file, LPCSTR, LPCSTR directory, INT) {
    if (operation != nullptr && ::strcasecmp(operation, "open") != 0) {
        return Result(SE_ERR_NOASSOC);
    }
    if (file == nullptr || *file == '\0') {
        return Result(SE_ERR_FNF);
    }
    std::string platformPath = file;
    if (directory != nullptr && *directory != '\0' && IsRelative(file)) {
        platformPath = std::string(directory) + "\\" + file;
    }
    const std::optional<std::string> linuxPath = winapi::path::ToLinux(platformPath);
    if (!linuxPath) {
        return Result(SE_ERR_PNF);
    }
    struct stat info {};
    if (::stat(linuxPath->c_str(), &info) != 0) {
        switch (winapi::path::LookupError(*linuxPath, errno)) {
        case ERROR_FILE_NOT_FOUND:
            return Result(SE_ERR_FNF);
        case ERROR_ACCESS_DENIED:
            return Result(SE_ERR_ACCESSDENIED);
        default:
            return Result(SE_ERR_PNF);
        }
    }
    switch (winapi::shell::StartOpener(*linuxPath)) {
    case winapi::shell::StartResult::Started:
        return Result(kOpened);
    case winapi::shell::StartResult::OutOfMemory:
        return Result(SE_ERR_OOM);
    default:
        return Result(SE_ERR_NOASSOC);
    }
}
