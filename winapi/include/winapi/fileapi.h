#pragma once
// File attributes and full path names.
// Stand-in: drive C: is the Linux root, so "C:\\a\\b" names /a/b. Both '\\' and '/' separate
// components, runs of separators count as one, and a path that starts with a separator lies on
// drive C:. Relative paths (and "C:rel") are taken from the working folder, whose platform form
// is "C:" followed by its Linux path with backslashes. "." and ".." are resolved by text, before
// the file system is asked, as the platform does; ".." at the root stays at the root. Other drive
// letters are understood but hold nothing. Names are case-sensitive, as the Linux tree is, and
// trailing dots and spaces are kept.

#include "winapi/errhandlingapi.h"
#include "winapi/types.h"
#include "winapi/winerror.h"

#define INVALID_FILE_ATTRIBUTES ((DWORD)-1)
#define FILE_ATTRIBUTE_READONLY 0x00000001
#define FILE_ATTRIBUTE_HIDDEN 0x00000002
#define FILE_ATTRIBUTE_DIRECTORY 0x00000010
#define FILE_ATTRIBUTE_NORMAL 0x00000080

// Directory, read-only (no owner write permission) and hidden (a name starting with '.'); a plain
// file without these is FILE_ATTRIBUTE_NORMAL. Failure: INVALID_FILE_ATTRIBUTES with the last
// error ERROR_FILE_NOT_FOUND, ERROR_PATH_NOT_FOUND (a folder on the way is missing, or another
// drive), ERROR_ACCESS_DENIED or ERROR_INVALID_NAME (empty name).
DWORD GetFileAttributesA(LPCSTR fileName);

// Writes the absolute form of fileName and returns its length; *filePart (when filePart is not
// null) points at its final component, or is null when the path has none: a root such as "C:\\",
// or a path that ends in a separator. When the buffer is too small nothing is written and the
// result is the size needed, terminator included. 0 on failure (empty or null name).
DWORD GetFullPathNameA(LPCSTR fileName, DWORD bufferLength, LPSTR buffer, LPSTR* filePart);
