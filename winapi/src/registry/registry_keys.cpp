// Opening, creating, deleting, listing and closing keys.

#include "hive_file.h"
#include "open_key.h"
#include "winapi/winreg.h"

#include <cstring>

using namespace winapi::registry;

LSTATUS RegOpenKeyExA(HKEY key, LPCSTR subKey, DWORD, REGSAM access, PHKEY result) {
    if (result == nullptr) {
        return ERROR_INVALID_PARAMETER;
    }
    *result = nullptr;
    std::string relative;
    if (const LONG status = ParseSubKey(subKey, relative); status != ERROR_SUCCESS) {
        return status;
    }
    OpenKey base;
    if (const LONG status = ReadOpenKey(key, 0, base); status != ERROR_SUCCESS) {
        return status;
    }
    const RegistryKey* target = base.hive.Find(JoinPath(base.key->path, relative));
    if (target == nullptr) {
        return ERROR_FILE_NOT_FOUND;
    }
    *result = AddHandle({base.handle.root, target->id, target->path, access});
    return ERROR_SUCCESS;
}

LSTATUS RegCreateKeyExA(HKEY key, LPCSTR subKey, DWORD, LPSTR, DWORD, REGSAM access,
                        const SECURITY_ATTRIBUTES*, PHKEY result, LPDWORD disposition) {
    if (result == nullptr || subKey == nullptr) {
        return ERROR_INVALID_PARAMETER;
    }
    *result = nullptr;
    std::string relative;
    if (const LONG status = ParseSubKey(subKey, relative); status != ERROR_SUCCESS) {
        return status;
    }
    OpenKey base;
    if (const LONG status = ReadOpenKey(key, 0, base); status != ERROR_SUCCESS) {
        return status;
    }
    const std::string path = JoinPath(base.key->path, relative);
    KeyHandle opened{base.handle.root, 0, "", access};
    bool created = false;
    if (const RegistryKey* existing = base.hive.Find(path)) {
        opened.id = existing->id;
        opened.path = existing->path;
    } else {
        // Another process may create it first; then this opens the key it made.
        const LONG status = UpdateOpenKey(key, KEY_CREATE_SUB_KEY, [&](Hive& hive, RegistryKey&) {
            const auto [made, isNew] = hive.Create(path);
            if (made == nullptr) {
                return ERROR_OUTOFMEMORY;
            }
            opened.id = made->id;
            opened.path = made->path;
            created = isNew;
            return ERROR_SUCCESS;
        });
        if (status != ERROR_SUCCESS) {
            return status;
        }
    }
    *result = AddHandle(std::move(opened));
    if (disposition != nullptr) {
        *disposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
    }
    return ERROR_SUCCESS;
}

LSTATUS RegDeleteKeyA(HKEY key, LPCSTR subKey) {
    if (subKey == nullptr) {
        return ERROR_INVALID_PARAMETER;
    }
    std::string relative;
    if (const LONG status = ParseSubKey(subKey, relative); status != ERROR_SUCCESS) {
        return status;
    }
    return UpdateOpenKey(key, 0, [&](Hive& hive, RegistryKey& base) {
        const std::string path = JoinPath(base.path, relative);
        if (hive.Find(path) == nullptr) {
            return ERROR_FILE_NOT_FOUND;
        }
        if (path.empty() || hive.HasSubkeys(path)) {
            return ERROR_ACCESS_DENIED;
        }
        hive.Remove(path);
        return ERROR_SUCCESS;
    });
}

LSTATUS RegEnumKeyA(HKEY key, DWORD index, LPSTR name, DWORD nameChars) {
    OpenKey open;
    if (const LONG status = ReadOpenKey(key, KEY_ENUMERATE_SUB_KEYS, open);
        status != ERROR_SUCCESS) {
        return status;
    }
    const auto names = open.hive.SubkeyNames(open.key->path);
    if (index >= names.size()) {
        return ERROR_NO_MORE_ITEMS;
    }
    if (name == nullptr) {
        return ERROR_INVALID_PARAMETER;
    }
    const std::string& found = names[index];
    if (found.size() + 1 > nameChars) {
        return ERROR_MORE_DATA;
    }
    std::memcpy(name, found.c_str(), found.size() + 1);
    return ERROR_SUCCESS;
}

LSTATUS RegCloseKey(HKEY key) {
    if (PredefinedRoot(key)) {
        return ERROR_SUCCESS;
    }
    return RemoveHandle(key) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}
