// MultiByteToWideChar and WideCharToMultiByte for the UTF-8 code pages.

#include "codepage/unicode.h"
#include "winapi/stringconv.h"

#include <climits>
#include <cstring>

namespace {

using winapi::codepage::Decoded;

bool IsUtf8CodePage(UINT codePage) {
    return codePage == CP_ACP || codePage == CP_OEMCP || codePage == CP_THREAD_ACP ||
           codePage == CP_UTF8;
}

int Fail(DWORD error) {
    SetLastError(error);
    return 0;
}

std::size_t WideLength(const char16_t* text) {
    std::size_t length = 0;
    while (text[length] != 0) {
        ++length;
    }
    return length;
}

// The shared loop: decode each source character, encode it, and either count it (destLength 0)
// or store it whole when it fits.
template <typename Source, typename Dest, typename DecodeFn, typename EncodeFn>
int Convert(const Source* source, std::size_t length, Dest* dest, int destLength, bool strict,
            DecodeFn decode, EncodeFn encode) {
    std::size_t produced = 0;
    for (std::size_t i = 0; i < length;) {
        const Decoded character = decode(source + i, length - i);
        if (!character.valid && strict) {
            return Fail(ERROR_NO_UNICODE_TRANSLATION);
        }
        i += character.length;
        Dest units[4];
        const std::size_t count = encode(character.codePoint, units);
        if (destLength > 0) {
            if (produced + count > static_cast<std::size_t>(destLength)) {
                return Fail(ERROR_INSUFFICIENT_BUFFER);
            }
            std::memcpy(dest + produced, units, count * sizeof(Dest));
        }
        produced += count;
        if (produced > INT_MAX) {
            return Fail(ERROR_INSUFFICIENT_BUFFER);
        }
    }
    return static_cast<int>(produced);
}

bool BadArguments(const void* source, int sourceLength, const void* dest, int destLength) {
    return source == nullptr || sourceLength == 0 || sourceLength < -1 || destLength < 0 ||
           (destLength > 0 && dest == nullptr) || (dest != nullptr && dest == source);
}

} // namespace

int MultiByteToWideChar(UINT codePage, DWORD flags, LPCSTR source, int sourceLength, LPWSTR dest,
                        int destLength) {
    if (!IsUtf8CodePage(codePage) || BadArguments(source, sourceLength, dest, destLength)) {
        return Fail(ERROR_INVALID_PARAMETER);
    }
    if ((flags & ~static_cast<DWORD>(MB_ERR_INVALID_CHARS)) != 0) {
        return Fail(ERROR_INVALID_FLAGS);
    }
    const std::size_t length =
        sourceLength == -1 ? std::strlen(source) + 1 : static_cast<std::size_t>(sourceLength);
    return Convert(reinterpret_cast<const unsigned char*>(source), length, dest, destLength,
                   (flags & MB_ERR_INVALID_CHARS) != 0, winapi::codepage::DecodeUtf8,
                   winapi::codepage::EncodeUtf16);
}

int WideCharToMultiByte(UINT codePage, DWORD flags, LPCWSTR source, int sourceLength, LPSTR dest,
                        int destLength, LPCSTR defaultChar, LPBOOL usedDefaultChar) {
    if (!IsUtf8CodePage(codePage) || BadArguments(source, sourceLength, dest, destLength) ||
        defaultChar != nullptr || usedDefaultChar != nullptr) {
        return Fail(ERROR_INVALID_PARAMETER);
    }
    if ((flags & ~static_cast<DWORD>(WC_ERR_INVALID_CHARS)) != 0) {
        return Fail(ERROR_INVALID_FLAGS);
    }
    const std::size_t length =
        sourceLength == -1 ? WideLength(source) + 1 : static_cast<std::size_t>(sourceLength);
    return Convert(source, length, reinterpret_cast<unsigned char*>(dest), destLength,
                   (flags & WC_ERR_INVALID_CHARS) != 0, winapi::codepage::DecodeUtf16,
                   winapi::codepage::EncodeUtf8);
}
