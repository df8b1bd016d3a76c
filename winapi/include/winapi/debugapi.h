#pragma once
// The debugger output channel and breakpoints.
// Stand-in: OutputDebugString writes its text to standard error as given (wide text as UTF-8) in
// one write per call; DebugBreak raises SIGTRAP only when a debugger is attached, otherwise it
// writes one line to standard error and returns.

#include "winapi/types.h"

void OutputDebugStringA(LPCSTR text);
void OutputDebugStringW(LPCWSTR text);
void DebugBreak();
BOOL IsDebuggerPresent();
