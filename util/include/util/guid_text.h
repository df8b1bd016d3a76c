#pragma once
// GUIDs as braced text: "{01234567-89AB-CDEF-0123-456789ABCDEF}".

#include <windows.h>

inline constexpr int kGuidTextLength = 38; // without the terminator

// Uppercase hexadecimal; returns the bounded format's result (cut text and 0x8007007A when the
// capacity is below 39).
HRESULT GuidToText(const GUID& guid, char* dest, int capacity);
HRESULT GuidToTextBytes(const GUID& guid, char* dest, int capacityBytes);

// Reads the braced form; digits of either case, a field may be shorter than its width. S_OK, or
// E_FAIL with *out all zero when the text does not hold all eleven fields; E_INVALIDARG without
// an out argument.
HRESULT GuidFromText(const char* text, GUID* out);
