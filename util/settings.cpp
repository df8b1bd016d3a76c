#include "util/settings.h"

#include "util/bounded_string.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace {

constexpr int kFloatTextCapacity = 256;

HRESULT SaveValue(HKEY key, const char* name, DWORD type, const void* data, std::size_t size) {
    return RegSetValueExA(key, name, 0, type, static_cast<const BYTE*>(data),
                          static_cast<DWORD>(size)) == ERROR_SUCCESS
               ? S_OK
               : E_FAIL;
}

// Reads a value of exactly the given type and size into out.
bool LoadExact(HKEY key, const char* name, DWORD wantedType, void* out, DWORD wantedSize) {
    DWORD type = 0;
    DWORD size = wantedSize;
    return RegQueryValueExA(key, name, nullptr, &type, static_cast<BYTE*>(out), &size) ==
               ERROR_SUCCESS &&
           type == wantedType && size == wantedSize;
}

template <typename T>
HRESULT LoadFixed(HKEY key, const char* name, DWORD type, T* out, const T& defaultValue) {
    if (out == nullptr) {
        return E_INVALIDARG;
    }
    T value{};
    if (!LoadExact(key, name, type, &value, sizeof value)) {
        *out = defaultValue;
        return S_FALSE;
    }
    *out = value;
    return S_OK;
}

} // namespace

HRESULT LoadStringSetting(HKEY key, const char* name, char* dest, int capacity,
                          const char* defaultText) {
    if (dest == nullptr || capacity < 1) {
        return E_INVALIDARG;
    }
    DWORD type = 0;
    DWORD size = static_cast<DWORD>(capacity);
    if (RegQueryValueExA(key, name, nullptr, &type, reinterpret_cast<BYTE*>(dest), &size) !=
            ERROR_SUCCESS ||
        type != REG_SZ) {
        BoundedCopy(dest, static_cast<std::size_t>(capacity),
                    defaultText != nullptr ? defaultText : "");
        return S_FALSE;
    }
    // A stored text need not carry its terminator.
    dest[std::min(size, static_cast<DWORD>(capacity - 1))] = '\0';
    return S_OK;
}

HRESULT LoadStringSettingBytes(HKEY key, const char* name, char* dest, int capacityBytes,
                               const char* defaultText) {
    return LoadStringSetting(key, name, dest, capacityBytes, defaultText);
}

HRESULT SaveStringSetting(HKEY key, const char* name, const char* text) {
    if (text == nullptr) {
        return E_INVALIDARG;
    }
    return SaveValue(key, name, REG_SZ, text, std::strlen(text) + 1);
}

HRESULT LoadFloatSetting(HKEY key, const char* name, float* out, float defaultValue) {
    if (out == nullptr) {
        return E_INVALIDARG;
    }
    // The default goes through the same six-decimal text as a stored value, so a missing or
    // unreadable value reads back as the default would have been saved.
    char defaultText[kFloatTextCapacity];
    BoundedFormat(defaultText, kFloatTextCapacity, "%f", static_cast<double>(defaultValue));
    char text[kFloatTextCapacity];
    LoadStringSetting(key, name, text, kFloatTextCapacity, defaultText);
    float value = 0.0f;
    if (std::sscanf(text, "%f", &value) != 1) {
        *out = defaultValue;
        return S_FALSE;
    }
    *out = value;
    return S_OK;
}

HRESULT SaveFloatSetting(HKEY key, const char* name, float value) {
    char text[kFloatTextCapacity];
    BoundedFormat(text, kFloatTextCapacity, "%f", static_cast<double>(value));
    return SaveStringSetting(key, name, text);
}

HRESULT LoadIntSetting(HKEY key, const char* name, INT* out, INT defaultValue) {
    return LoadFixed(key, name, REG_DWORD, out, defaultValue);
}

HRESULT SaveIntSetting(HKEY key, const char* name, INT value) {
    return SaveValue(key, name, REG_DWORD, &value, sizeof value);
}

HRESULT LoadBoolSetting(HKEY key, const char* name, BOOL* out, BOOL defaultValue) {
    return LoadFixed(key, name, REG_DWORD, out, defaultValue);
}

HRESULT SaveBoolSetting(HKEY key, const char* name, BOOL value) {
    return SaveValue(key, name, REG_DWORD, &value, sizeof value);
}

HRESULT LoadGuidSetting(HKEY key, const char* name, GUID* out, const GUID& defaultValue) {
    return LoadFixed(key, name, REG_BINARY, out, defaultValue);
}

HRESULT SaveGuidSetting(HKEY key, const char* name, GUID value) {
    return SaveValue(key, name, REG_BINARY, &value, sizeof value);
}
