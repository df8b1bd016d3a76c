#include "util/sdk_registry.h"

#include <algorithm>

namespace {

constexpr const char* kSdkKey = "Software\\Microsoft\\DirectX SDK";
constexpr const char* kSamplesPathValue = "DX9D4SDK Samples Path";

} // namespace

bool ReadSdkSamplesPath(char* dest, DWORD capacity) {
    dest[0] = '\0';
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kSdkKey, 0, KEY_READ, &key) != ERROR_SUCCESS) {
        return false;
    }
    // The value's type is not examined: whatever bytes it holds are taken as the text.
    DWORD size = capacity;
    const LSTATUS status = RegQueryValueExA(key, kSamplesPathValue, nullptr, nullptr,
                                            reinterpret_cast<BYTE*>(dest), &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS) {
        dest[0] = '\0';
        return false;
    }
    dest[std::min(size, capacity - 1)] = '\0';
    return true;
}
