#pragma once
// Conversion between the narrow text of the system (the ANSI code page) and wide UTF-16 text.
// Capacities count characters of the destination, terminator included; the destination is always
// terminated. Results: S_OK; E_INVALIDARG for a missing text or a capacity below 1; E_FAIL when a
// conversion produced nothing (including a source that does not fit: the destination then holds
// the characters that fitted). The Bytes forms take the destination's size in bytes, halved
// (rounding down) for a wide destination.

#include <windows.h>

HRESULT NarrowToWide(WCHAR* dest, const char* source, int capacity);
HRESULT WideToNarrow(char* dest, const WCHAR* source, int capacity);
// The system's text is narrow, so these copy (the rest of the destination is zero-filled) or
// convert as above.
HRESULT TextToNarrow(char* dest, const char* source, int capacity);
HRESULT NarrowToText(char* dest, const char* source, int capacity);
HRESULT TextToWide(WCHAR* dest, const char* source, int capacity);
HRESULT WideToText(char* dest, const WCHAR* source, int capacity);

HRESULT NarrowToWideBytes(WCHAR* dest, const char* source, int capacityBytes);
HRESULT WideToNarrowBytes(char* dest, const WCHAR* source, int capacityBytes);
HRESULT TextToNarrowBytes(char* dest, const char* source, int capacityBytes);
HRESULT NarrowToTextBytes(char* dest, const char* source, int capacityBytes);
HRESULT TextToWideBytes(WCHAR* dest, const char* source, int capacityBytes);
HRESULT WideToTextBytes(char* dest, const WCHAR* source, int capacityBytes);
