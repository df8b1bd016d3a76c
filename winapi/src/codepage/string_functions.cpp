// lstrlen, lstrcpyn and the multibyte search for a character's last occurrence.

#include "codepage/unicode.h"
#include "winapi/stringapi.h"

#include <cstddef>

namespace {

template <typename Char> int Length(const Char* text) {
    if (text == nullptr) {
        return 0;
    }
    int length = 0;
    while (text[length] != 0) {
        ++length;
    }
    return length;
}

template <typename Char> Char* CopyBounded(Char* dest, const Char* source, int maxLength) {
    if (dest == nullptr || source == nullptr) {
        return nullptr;
    }
    if (maxLength < 1) {
        return dest;
    }
    int i = 0;
    for (; i < maxLength - 1 && source[i] != 0; ++i) {
        dest[i] = source[i];
    }
    dest[i] = 0;
    return dest;
}

} // namespace

int lstrlenA(LPCSTR text) {
    return Length(text);
}
int lstrlenW(LPCWSTR text) {
    return Length(text);
}

LPSTR lstrcpynA(LPSTR dest, LPCSTR source, int maxLength) {
    return CopyBounded(dest, source, maxLength);
}

LPWSTR lstrcpynW(LPWSTR dest, LPCWSTR source, int maxLength) {
    return CopyBounded(dest, source, maxLength);
}

unsigned char* _mbsrchr(const unsigned char* text, unsigned int c) {
    if (text == nullptr) {
        return nullptr;
    }
    const unsigned char* last = nullptr;
    const unsigned char* p = text;
    // A terminated text: decoding never reads past the terminator, which is no continuation byte.
    constexpr std::size_t kUnbounded = 4;
    for (; *p != 0;) {
        const winapi::codepage::Decoded character = winapi::codepage::DecodeUtf8(p, kUnbounded);
        if (character.valid && character.codePoint == c) {
            last = p;
        }
        p += character.length;
    }
    if (c == 0) {
        last = p;
    }
    return const_cast<unsigned char*>(last);
}
