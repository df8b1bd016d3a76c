#pragma once
// Traces a failed platform call to the debugger output as "file(line): message hr=NAME (0x...)"
// and optionally asks in a message box whether to break into the debugger. Returns result.

#include <windows.h>

HRESULT TraceError(const char* file, DWORD line, HRESULT result, const char* message,
                   BOOL showMessageBox);
HRESULT TraceErrorW(const char* file, DWORD line, HRESULT result, const WCHAR* message,
                    BOOL showMessageBox);
