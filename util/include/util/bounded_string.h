#pragma once
// Bounded string operations, narrow and wide. Each takes a destination and its capacity in
// characters (terminator included), never writes past it and leaves the destination terminated.
// Results: S_OK; E_INVALIDARG for a capacity of 0 or above kMaxBoundedCapacity or a missing text;
// kInsufficientBuffer when the text was cut to fit.
//
// The formatters follow the platform's printf: 'l' means 32 bits (LONG, DWORD), "ll" and "I64"
// 64 bits, 'h' 16 bits. In the narrow form %s takes narrow text and %S wide text; in the wide form
// %s takes wide text and %S narrow text. %c and %C likewise. Text of the output's own form is
// copied unit for unit, bytes that are not UTF-8 included; text of the other form is converted
// between UTF-8 (the narrow code page) and UTF-16, anything malformed becoming U+FFFD.

#include <windows.h>

#include <cstdarg>
#include <cstddef>

inline constexpr HRESULT kInsufficientBuffer = static_cast<HRESULT>(0x8007007A);
inline constexpr std::size_t kMaxBoundedCapacity = 2147483647;

HRESULT BoundedCopy(char* dest, std::size_t capacity, const char* source);
HRESULT BoundedCopyW(WCHAR* dest, std::size_t capacity, const WCHAR* source);

HRESULT BoundedAppend(char* dest, std::size_t capacity, const char* source);
HRESULT BoundedAppendW(WCHAR* dest, std::size_t capacity, const WCHAR* source);

HRESULT BoundedFormat(char* dest, std::size_t capacity, const char* format, ...);
HRESULT BoundedFormatW(WCHAR* dest, std::size_t capacity, const WCHAR* format, ...);
HRESULT BoundedFormatV(char* dest, std::size_t capacity, const char* format, va_list args);
HRESULT BoundedFormatVW(WCHAR* dest, std::size_t capacity, const WCHAR* format, va_list args);

// Counts characters before the terminator, looking at no more than limit characters. Without a
// terminator within the limit it returns E_INVALIDARG and leaves *length unwritten.
HRESULT BoundedLength(const char* text, std::size_t limit, std::size_t* length);
HRESULT BoundedLengthW(const WCHAR* text, std::size_t limit, std::size_t* length);
