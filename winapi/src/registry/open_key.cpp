#include "open_key.h"
#include "hive_file.h"
#include "winapi/winreg.h"

namespace winapi::registry {
namespace {

RegistryKey* FindHandleKey(Hive& hive, const KeyHandle& handle) {
    RegistryKey* key = hive.Find(handle.path);
    return key != nullptr && key->id == handle.id ? key : nullptr;
}

LONG CheckHandle(HKEY key, REGSAM needed, KeyHandle& handle) {
    const auto found = LookUpHandle(key);
    if (!found) {
        return ERROR_INVALID_HANDLE;
    }
    if ((found->access & needed) != needed) {
        return ERROR_ACCESS_DENIED;
    }
    handle = *found;
    return ERROR_SUCCESS;
}

} // namespace

LONG ReadOpenKey(HKEY key, REGSAM needed, OpenKey& open) {
    if (const LONG status = CheckHandle(key, needed, open.handle); status != ERROR_SUCCESS) {
        return status;
    }
    if (const LONG status = ReadHive(open.handle.root, open.hive); status != ERROR_SUCCESS) {
        return status;
    }
    open.key = FindHandleKey(open.hive, open.handle);
    return open.key != nullptr ? ERROR_SUCCESS : ERROR_KEY_DELETED;
}

LONG UpdateOpenKey(HKEY key, REGSAM needed,
                   const std::function<LONG(Hive& hive, RegistryKey& key)>& edit) {
    KeyHandle handle;
    if (const LONG status = CheckHandle(key, needed, handle); status != ERROR_SUCCESS) {
        return status;
    }
    return UpdateHive(handle.root, [&](Hive& hive) {
        RegistryKey* found = FindHandleKey(hive, handle);
        return found != nullptr ? edit(hive, *found) : ERROR_KEY_DELETED;
    });
}

LONG ParseSubKey(LPCSTR subKey, std::string& path) {
    path = subKey != nullptr ? subKey : "";
    if (path.starts_with('\\')) {
        return ERROR_BAD_PATHNAME;
    }
    if (path.ends_with('\\')) {
        path.pop_back();
    }
    if (IsValidKeyPath(path)) {
        return ERROR_SUCCESS;
    }
    return path.find("\\\\") != std::string::npos || path.ends_with('\\') ? ERROR_BAD_PATHNAME
                                                                          : ERROR_INVALID_PARAMETER;
}

} // namespace winapi::registry
