#pragma once
// Where the running program lives: its folder and its base name, as the searches use them.

#include <windows.h>

struct ExecutableLocation {
    // The module path cut at its last backslash; the whole module path when it has none.
    char folder[MAX_PATH];
    // The text after that backslash, cut at its last full stop; empty when there is none.
    char baseName[MAX_PATH];
};

ExecutableLocation FindExecutableLocation();
