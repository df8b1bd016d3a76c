#pragma once
// Code-point level UTF-8 and UTF-16 stepping for the formatters, which convert narrow text
// (UTF-8, the system code page here) and wide text (UTF-16) into each other without allocating.
// Malformed input yields U+FFFD and moves on, so a bad byte never stops or overruns a scan.

#include <cstddef>

namespace utf {

inline constexpr char32_t kReplacement = 0xFFFD;

// Reads one code point from the terminated text at *text and advances past it. Stops at the
// terminator (returns 0 without advancing).
char32_t NextFromUtf8(const char*& text);
char32_t NextFromUtf16(const char16_t*& text);

// Units needed to encode the code point.
std::size_t Utf8Length(char32_t cp);
std::size_t Utf16Length(char32_t cp);

// Writes the encoding of cp into out (room for 4 units) and returns the unit count.
std::size_t EncodeUtf8(char32_t cp, char* out);
std::size_t EncodeUtf16(char32_t cp, char16_t* out);

} // namespace utf
