// Full path names and the mapping to the Linux tree over arbitrary names. A full name is absolute,
// resolved and stable (its own full name), its final component is where the caller is told it
// is, the buffer rules hold at every size, and a C: path maps to Linux and back to itself.
// Buffers are heap blocks of exactly the size offered, so a write past one trips AddressSanitizer.

#include "winapi/linux_path.h"

#include <windows.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>

namespace {

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

bool IsResolved(std::string_view full) {
    if (full.size() < 3 || full[1] != ':' || full[2] != '\\' || full.find('/') != full.npos ||
        full.find("\\\\") != full.npos) {
        return false;
    }
    // No component is "." or "..".
    const std::string text = std::string(full.substr(2)) + "\\";
    return text.find("\\.\\") == text.npos && text.find("\\..\\") == text.npos;
}

// The full name through a buffer of exactly the size the size query asks for.
std::string FullName(const std::string& name) {
    const DWORD needed = GetFullPathNameA(name.c_str(), 0, nullptr, nullptr);
    if (needed == 0) {
        return "";
    }
    // One byte short: nothing is written and the same size comes back.
    auto shortBuffer = std::make_unique<char[]>(needed - 1);
    std::memset(shortBuffer.get(), 0x5A, needed - 1);
    Require(GetFullPathNameA(name.c_str(), needed - 1, shortBuffer.get(), nullptr) == needed);
    Require(shortBuffer[0] == 0x5A);

    auto buffer = std::make_unique<char[]>(needed);
    char unset = 0;
    char* part = &unset;
    Require(GetFullPathNameA(name.c_str(), needed, buffer.get(), &part) == needed - 1);
    const std::string full(buffer.get());
    Require(full.size() == needed - 1);
    Require(part != &unset);
    if (part == nullptr) {
        Require(full.back() == '\\');
    } else {
        Require(part > buffer.get() && part < buffer.get() + full.size() && part[-1] == '\\' &&
                std::strchr(part, '\\') == nullptr);
    }
    return full;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string name(reinterpret_cast<const char*>(data),
                           strnlen(reinterpret_cast<const char*>(data), size));
    const std::string full = FullName(name);
    if (full.empty()) {
        return 0;
    }
    Require(IsResolved(full));
    Require(FullName(full) == full);

    const std::optional<std::string> linuxPath = winapi::LinuxPath(name);
    Require(linuxPath.has_value() == (full[0] == 'C'));
    if (linuxPath) {
        Require(linuxPath->starts_with('/') && linuxPath->find("//") == std::string::npos &&
                linuxPath->find('\\') == std::string::npos);
        Require(winapi::PlatformPath(*linuxPath) == full);
        Require(winapi::LinuxPath(full) == linuxPath);
    }
    return 0;
}
