#pragma once
// Ours, not the platform's: the mapping between the platform's path form and the Linux tree that
// every file operation uses (drive C: is the Linux root; fileapi.h says more).

#include <optional>
#include <string>
#include <string_view>

namespace winapi {

// The Linux path that a platform path names (made full first); none when it lies on a drive
// other than C: or the working folder cannot be read.
std::optional<std::string> LinuxPath(std::string_view platformPath);

// The platform form ("C:\\...") of an absolute Linux path.
std::string PlatformPath(std::string_view linuxPath);

} // namespace winapi
