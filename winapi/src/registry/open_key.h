#pragma once
// What every operation on an open key does first: resolve the handle, check its rights and find
// its key in the current content of its root.

#include "hive.h"
#include "key_handles.h"

#include <functional>

namespace winapi::registry {

struct OpenKey {
    KeyHandle handle;
    Hive hive;
    const RegistryKey* key = nullptr; // inside hive
};

// ERROR_INVALID_HANDLE, ERROR_ACCESS_DENIED without the needed rights, the read errors, or
// ERROR_KEY_DELETED when the key has been deleted since the handle was opened.
LONG ReadOpenKey(HKEY key, REGSAM needed, OpenKey& open);

// The same checks, then edit runs on the key under the root's lock and its changes are written.
LONG UpdateOpenKey(HKEY key, REGSAM needed,
                   const std::function<LONG(Hive& hive, RegistryKey& key)>& edit);

// A subkey argument as a path: null and "" name the key itself, one trailing backslash is
// ignored; ERROR_BAD_PATHNAME for a leading backslash or an empty component,
// ERROR_INVALID_PARAMETER for a component longer than the platform allows.
LONG ParseSubKey(LPCSTR subKey, std::string& path);

} // namespace winapi::registry
