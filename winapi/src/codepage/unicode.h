#pragma once
// Strict UTF-8 and UTF-16 stepping for the code-page conversions: each step says whether the
// character was well formed, so that the caller can either replace it or refuse the input.

#include <cstddef>

namespace winapi::codepage {

struct Decoded {
    char32_t codePoint; // U+FFFD when malformed
    std::size_t length; // units consumed, at least 1
    bool valid;
};

// One character from the available bytes. A malformed sequence consumes its maximal subpart (the
// longest prefix that could still have become well formed), or one byte when there is none.
Decoded DecodeUtf8(const unsigned char* text, std::size_t available);
// One character from the available units; an unpaired surrogate is malformed.
Decoded DecodeUtf16(const char16_t* text, std::size_t available);

// Encodes a code point (not a surrogate, at most U+10FFFF) and returns the units written: up to 4
// bytes or 2 UTF-16 units.
std::size_t EncodeUtf8(char32_t codePoint, unsigned char* out);
std::size_t EncodeUtf16(char32_t codePoint, char16_t* out);

} // namespace winapi::codepage
