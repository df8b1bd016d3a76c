#include "window/remembered_mode.h"

#include "module/executable_path.h"
#include "winapi/winreg.h"

#include <string>

namespace winapi::window {
namespace {

constexpr char kValueName[] = "Windowed";

// "Software\<program>\Display", or empty when the program's name cannot be told.
std::string KeyPath() {
    std::string executable = module::ExecutablePath();
    std::string program = executable.substr(executable.find_last_of('\\') + 1);
    return program.empty() ? std::string() : "Software\\" + program + "\\Display";
}

} // namespace

std::optional<bool> RememberedWindowed() {
    std::string path = KeyPath();
    HKEY key = nullptr;
    if (path.empty() ||
        RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    DWORD type = 0;
    DWORD value = 0;
    DWORD size = sizeof value;
    LSTATUS status =
        RegQueryValueExA(key, kValueName, nullptr, &type, reinterpret_cast<BYTE*>(&value), &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS || type != REG_DWORD || size != sizeof value) {
        return std::nullopt;
    }
    return value != 0;
}

void RememberWindowed(bool windowed) {
    std::string path = KeyPath();
    HKEY key = nullptr;
    if (path.empty() || RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0,
                                        KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS) {
        return;
    }
    DWORD value = windowed ? 1 : 0;
    RegSetValueExA(key, kValueName, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                   sizeof value);
    RegCloseKey(key);
}

} // namespace winapi::window
