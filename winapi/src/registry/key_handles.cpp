#include "key_handles.h"
#include "winapi/winreg.h"

#include <mutex>
#include <unordered_map>

namespace winapi::registry {
namespace {

constexpr REGSAM kGenericRead = 0x80000000u;
constexpr REGSAM kGenericWrite = 0x40000000u;
constexpr REGSAM kGenericAll = 0x10000000u;
constexpr REGSAM kMaximumAllowed = 0x02000000u;

std::mutex tableMutex;
std::unordered_map<std::uintptr_t, KeyHandle> openHandles;
// Handle values are never reused, so a closed handle stays invalid. They step by 4 like the
// platform's, starting well clear of null and of the predefined roots.
std::uintptr_t nextHandleValue = 0x1000;

} // namespace

REGSAM KeyRights(REGSAM access) {
    REGSAM rights = access;
    if ((access & (kGenericAll | kMaximumAllowed)) != 0) {
        rights |= KEY_ALL_ACCESS;
    }
    if ((access & kGenericRead) != 0) {
        rights |= KEY_READ;
    }
    if ((access & kGenericWrite) != 0) {
        rights |= KEY_WRITE;
    }
    return rights;
}

std::optional<KeyHandle> LookUpHandle(HKEY key) {
    if (const auto root = PredefinedRoot(key)) {
        return KeyHandle{*root, 0, "", KEY_ALL_ACCESS};
    }
    std::lock_guard lock(tableMutex);
    const auto found = openHandles.find(reinterpret_cast<std::uintptr_t>(key));
    if (found == openHandles.end()) {
        return std::nullopt;
    }
    return found->second;
}

HKEY AddHandle(KeyHandle handle) {
    handle.access = KeyRights(handle.access);
    std::lock_guard lock(tableMutex);
    const std::uintptr_t value = nextHandleValue;
    nextHandleValue += 4;
    openHandles.emplace(value, std::move(handle));
    return reinterpret_cast<HKEY>(value);
}

bool RemoveHandle(HKEY key) {
    std::lock_guard lock(tableMutex);
    return openHandles.erase(reinterpret_cast<std::uintptr_t>(key)) == 1;
}

std::size_t OpenHandleCount() {
    std::lock_guard lock(tableMutex);
    return openHandles.size();
}

} // namespace winapi::registry
