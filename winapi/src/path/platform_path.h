#pragma once
// The one mapping between the platform's path form and the Linux tree (described in fileapi.h).

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace winapi::path {

struct FullPath {
    std::string text;           // "C:\\a\\b", "C:\\" or "C:\\a\\" (ends in a separator)
    std::size_t finalComponent; // offset of the final component in text, or npos when none
};

// The absolute, resolved platform form of path; nullopt for an empty path or when the working
// folder cannot be read.
std::optional<FullPath> MakeFull(std::string_view path);

// The Linux path that a platform path names, nullopt when it lies on a drive other than C:.
std::optional<std::string> ToLinux(std::string_view platformPath);

// The platform form of an absolute Linux path.
std::string FromLinux(std::string_view linuxPath);

// The last error that a failed look-up of the Linux path should report, from errno.
unsigned long LookupError(const std::string& linuxPath, int error);

} // namespace winapi::path
