#pragma once
// Finding a sample's readme and opening it with the platform shell.

#include <windows.h>

// Looks for "readme.htm", then "readme.txt": first in the SDK's folder for the sample (when a
// sample name is given), then in the folders around the executable's. The first one the shell
// opens ends the search; when none is opened, a warning box owned by window says
// "Could not find readme".
void OpenReadme(HWND window, const char* sampleName);
