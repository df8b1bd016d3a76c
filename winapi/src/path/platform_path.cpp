#include "path/platform_path.h"
#include "winapi/linux_path.h"

#include "winapi/winerror.h"

#include <cctype>
#include <cerrno>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace winapi::path {
namespace {

constexpr char kSeparator = '\\';

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

bool HasDrive(std::string_view path) {
    return path.size() >= 2 && std::isalpha(static_cast<unsigned char>(path[0])) && path[1] == ':';
}

std::optional<std::string> WorkingFolder() {
    std::vector<char> buffer(256);
    while (::getcwd(buffer.data(), buffer.size()) == nullptr) {
        if (errno != ERANGE) {
            return std::nullopt;
        }
        buffer.resize(buffer.size() * 2);
    }
    return FromLinux(buffer.data());
}

// Splits the text after a drive's root into components, resolving "." and "..".
void AppendComponents(std::vector<std::string_view>& components, std::string_view rest) {
    std::size_t start = 0;
    while (start <= rest.size()) {
        std::size_t end = start;
        while (end < rest.size() && !IsSeparator(rest[end])) {
            ++end;
        }
        const std::string_view component = rest.substr(start, end - start);
        if (component == "..") {
            if (!components.empty()) {
                components.pop_back();
            }
        } else if (!component.empty() && component != ".") {
            components.push_back(component);
        }
        start = end + 1;
    }
}

// Whether the path names a folder by ending in a separator (not in "." or "..").
bool EndsInSeparator(std::string_view path) {
    return !path.empty() && IsSeparator(path.back());
}

} // namespace

std::optional<FullPath> MakeFull(std::string_view path) {
    if (path.empty()) {
        return std::nullopt;
    }
    char drive = 'C';
    std::string base; // the absolute text the path is relative to, without its drive
    std::string_view rest = path;
    if (HasDrive(path)) {
        drive = static_cast<char>(std::toupper(static_cast<unsigned char>(path[0])));
        rest = path.substr(2);
    }
    if (rest.empty() || !IsSeparator(rest.front())) {
        if (drive == 'C') {
            const std::optional<std::string> working = WorkingFolder();
            if (!working) {
                return std::nullopt;
            }
            base = working->substr(2);
        }
        // Other drives have no working folder of their own here: relative to their root.
    }

    std::vector<std::string_view> components;
    AppendComponents(components, base);
    AppendComponents(components, rest);

    FullPath full{std::string(1, drive) + ":", std::string::npos};
    for (const std::string_view component : components) {
        full.text += kSeparator;
        full.finalComponent = full.text.size();
        full.text += component;
    }
    if (components.empty() || EndsInSeparator(rest)) {
        full.text += kSeparator;
        full.finalComponent = std::string::npos;
    }
    return full;
}

std::optional<std::string> ToLinux(std::string_view platformPath) {
    const std::optional<FullPath> full = MakeFull(platformPath);
    if (!full || full->text[0] != 'C') {
        return std::nullopt;
    }
    std::string linuxPath = full->text.substr(2);
    for (char& c : linuxPath) {
        if (c == kSeparator) {
            c = '/';
        }
    }
    return linuxPath;
}

std::string FromLinux(std::string_view linuxPath) {
    std::string platform = "C:";
    platform += linuxPath;
    for (char& c : platform) {
        if (c == '/') {
            c = kSeparator;
        }
    }
    if (platform.size() == 2) {
        platform += kSeparator;
    }
    return platform;
}

unsigned long LookupError(const std::string& linuxPath, int error) {
    switch (error) {
    case ENOENT: {
        // The platform tells a missing file in an existing folder from a missing folder.
        const std::size_t slash = linuxPath.find_last_of('/');
        const std::string folder = slash == 0 ? "/" : linuxPath.substr(0, slash);
        struct stat info {};
        const bool folderExists = ::stat(folder.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
        return folderExists ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND;
    }
    case ENOTDIR:
    case ELOOP:
        return ERROR_PATH_NOT_FOUND;
    case ENAMETOOLONG:
        return ERROR_FILENAME_EXCED_RANGE;
    default:
        return ERROR_ACCESS_DENIED;
    }
}

} // namespace winapi::path

namespace winapi {

std::optional<std::string> LinuxPath(std::string_view platformPath) {
    return path::ToLinux(platformPath);
}

std::string PlatformPath(std::string_view linuxPath) {
    return path::FromLinux(linuxPath);
}

} // namespace winapi
