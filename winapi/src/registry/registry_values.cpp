// Reading, writing, deleting and listing a key's values.

#include "open_key.h"
#include "winapi/winreg.h"

#include <cstring>

using namespace winapi::registry;

namespace {

// The platform's rule for handing out data: a null buffer asks for the size only; a buffer too
// small gets nothing and the size it would need, with ERROR_MORE_DATA.
LONG HandOut(const RegistryValue& value, LPDWORD type, LPBYTE data, LPDWORD dataSize) {
    if (type != nullptr) {
        *type = value.type;
    }
    const auto size = static_cast<DWORD>(value.data.size());
    if (dataSize == nullptr) {
        return ERROR_SUCCESS;
    }
    const DWORD offered = *dataSize;
    *dataSize = size;
    if (data == nullptr) {
        return ERROR_SUCCESS;
    }
    if (offered < size) {
        return ERROR_MORE_DATA;
    }
    if (size > 0) {
        std::memcpy(data, value.data.data(), size);
    }
    return ERROR_SUCCESS;
}

std::string_view ValueName(LPCSTR name) {
    return name != nullptr ? name : "";
}

} // namespace

LSTATUS RegQueryValueExA(HKEY key, LPCSTR valueName, LPDWORD reserved, LPDWORD type, LPBYTE data,
                         LPDWORD dataSize) {
    if (reserved != nullptr || (data != nullptr && dataSize == nullptr)) {
        return ERROR_INVALID_PARAMETER;
    }
    OpenKey open;
    if (const LONG status = ReadOpenKey(key, KEY_QUERY_VALUE, open); status != ERROR_SUCCESS) {
        return status;
    }
    const RegistryValue* value = open.key->FindValue(ValueName(valueName));
    if (value == nullptr) {
        return ERROR_FILE_NOT_FOUND;
    }
    return HandOut(*value, type, data, dataSize);
}

LSTATUS RegSetValueExA(HKEY key, LPCSTR valueName, DWORD, DWORD type, const BYTE* data,
                       DWORD dataSize) {
    if (data == nullptr && dataSize > 0) {
        return ERROR_NOACCESS;
    }
    const std::string_view name = ValueName(valueName);
    if (name.size() > kMaxValueNameLength) {
        return ERROR_INVALID_PARAMETER;
    }
    std::vector<BYTE> bytes(data, data + (data != nullptr ? dataSize : 0));
    return UpdateOpenKey(key, KEY_SET_VALUE, [&](Hive&, RegistryKey& target) {
        if (RegistryValue* existing = target.FindValue(name)) {
            existing->type = type;
            existing->data = std::move(bytes);
        } else {
            target.values.push_back({std::string(name), type, std::move(bytes)});
        }
        return ERROR_SUCCESS;
    });
}

LSTATUS RegDeleteValueA(HKEY key, LPCSTR valueName) {
    const std::string_view name = ValueName(valueName);
    return UpdateOpenKey(key, KEY_SET_VALUE, [&](Hive&, RegistryKey& target) {
        const RegistryValue* found = target.FindValue(name);
        if (found == nullptr) {
            return ERROR_FILE_NOT_FOUND;
        }
        target.values.erase(target.values.begin() + (found - target.values.data()));
        return ERROR_SUCCESS;
    });
}

LSTATUS RegEnumValueA(HKEY key, DWORD index, LPSTR valueName, LPDWORD valueNameChars,
                      LPDWORD reserved, LPDWORD type, LPBYTE data, LPDWORD dataSize) {
    if (reserved != nullptr || (data != nullptr && dataSize == nullptr)) {
        return ERROR_INVALID_PARAMETER;
    }
    OpenKey open;
    if (const LONG status = ReadOpenKey(key, KEY_QUERY_VALUE, open); status != ERROR_SUCCESS) {
        return status;
    }
    if (index >= open.key->values.size()) {
        return ERROR_NO_MORE_ITEMS;
    }
    if (valueName == nullptr || valueNameChars == nullptr) {
        return ERROR_INVALID_PARAMETER;
    }
    const RegistryValue& value = open.key->values[index];
    if (value.name.size() + 1 > *valueNameChars) {
        return ERROR_MORE_DATA;
    }
    std::memcpy(valueName, value.name.c_str(), value.name.size() + 1);
    *valueNameChars = static_cast<DWORD>(value.name.size());
    return HandOut(value, type, data, dataSize);
}
