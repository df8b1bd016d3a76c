#pragma once
// String helpers of the kernel and the multibyte run-time library.
// Stand-in: the narrow code page is UTF-8, so a multibyte character is a UTF-8 sequence.

#include "winapi/types.h"

// Null text counts as 0.
int lstrlenA(LPCSTR text);
int lstrlenW(LPCWSTR text);
// Copies at most maxLength - 1 characters and terminates; returns dest. Writes nothing when
// maxLength is below 1; returns null when dest or source is null.
LPSTR lstrcpynA(LPSTR dest, LPCSTR source, int maxLength);
LPWSTR lstrcpynW(LPWSTR dest, LPCWSTR source, int maxLength);

// The last occurrence of the character c (a code point here) that starts at a character
// boundary, or null. c == 0 finds the terminator. Malformed bytes count as one character each.
unsigned char* _mbsrchr(const unsigned char* text, unsigned int c);
