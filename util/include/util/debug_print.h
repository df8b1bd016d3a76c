#pragma once
// A formatted write to the debugger output.

// Formats as printf does (the bounded formatter's conversions) into at most 511 characters,
// cutting longer text, and writes it in one piece. No newline is added.
void DebugPrint(const char* format, ...);
