#include "util/path_text.h"

#include <windows.h>

char* FindLast(char* text, char c) {
    return reinterpret_cast<char*>(
        _mbsrchr(reinterpret_cast<const unsigned char*>(text), static_cast<unsigned char>(c)));
}

void CutAtLast(char* text, char c) {
    if (char* found = FindLast(text, c)) {
        *found = '\0';
    }
}
