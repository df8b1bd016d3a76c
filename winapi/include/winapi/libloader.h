#pragma once
// Modules: the executable itself and run-time libraries.
// Stand-in: the only library is the built-in shell, "shell32.dll" (the name is matched without
// regard to case or folder, ".dll" is implied), whose exports are ShellExecuteA. Its file name is
// reported as "C:\\Windows\\System32\\shell32.dll", which does not exist on disk. The executable's
// file name is its Linux path in the platform's form (see fileapi.h).

#include "winapi/errhandlingapi.h"
#include "winapi/types.h"
#include "winapi/winerror.h"

// An exported routine, to be cast to its real type. Declared without a result so that the cast
// draws no warning about incompatible function types.
typedef void (*FARPROC)();

// Vista behaviour: a path that does not fit is cut to size - 1 characters and terminated, the
// result is size and the last error ERROR_INSUFFICIENT_BUFFER. 0 for an unknown module.
DWORD GetModuleFileNameA(HMODULE module, LPSTR fileName, DWORD size);
// Null gives the executable; otherwise a loaded library or the executable's own file name.
HMODULE GetModuleHandleA(LPCSTR moduleName);
// Counts loads; a library is unloaded when FreeLibrary has been called as often.
HMODULE LoadLibraryA(LPCSTR fileName);
FARPROC GetProcAddress(HMODULE module, LPCSTR procName);
BOOL FreeLibrary(HMODULE module);
