#pragma once
// The SDK's samples folder as its installer records it in the local-machine registry.

#include <windows.h>

// Reads the recorded folder into dest (capacity in bytes) and terminates it. On any failure (no
// key, no value, a value that does not fit) dest is left empty and the result is false.
bool ReadSdkSamplesPath(char* dest, DWORD capacity);
