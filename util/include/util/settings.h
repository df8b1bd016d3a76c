#pragma once
// Typed settings stored as named values under a registry key that the caller has opened.
// Strings and floats are string values, ints and booleans 32-bit values, GUIDs 16-byte binary
// values. Loads never fail for want of a value: a missing value, or one of another type or size,
// gives the default and S_FALSE; S_OK means the stored value was read. Saves give S_OK or E_FAIL.
// A missing out argument or destination gives E_INVALIDARG.

#include <windows.h>

HRESULT LoadStringSetting(HKEY key, const char* name, char* dest, int capacity,
                          const char* defaultText);
HRESULT LoadStringSettingBytes(HKEY key, const char* name, char* dest, int capacityBytes,
                               const char* defaultText);
HRESULT SaveStringSetting(HKEY key, const char* name, const char* text);

// Floats are kept as text with six decimals ("%f"), so 0.1234567 reads back as 0.123457. A missing
// value reads the default's text, with S_OK; a stored text that holds no number gives the default
// and S_FALSE.
HRESULT LoadFloatSetting(HKEY key, const char* name, float* out, float defaultValue);
HRESULT SaveFloatSetting(HKEY key, const char* name, float value);

HRESULT LoadIntSetting(HKEY key, const char* name, INT* out, INT defaultValue);
HRESULT SaveIntSetting(HKEY key, const char* name, INT value);
HRESULT LoadBoolSetting(HKEY key, const char* name, BOOL* out, BOOL defaultValue);
HRESULT SaveBoolSetting(HKEY key, const char* name, BOOL value);

HRESULT LoadGuidSetting(HKEY key, const char* name, GUID* out, const GUID& defaultValue);
HRESULT SaveGuidSetting(HKEY key, const char* name, GUID value);
