#pragma once
// Whole-text UTF-16 to UTF-8 conversion for the stand-in's services; malformed sequences become
// U+FFFD.

#include <string>
#include <string_view>

namespace winapi::text {

std::string Utf16ToUtf8(std::u16string_view text);

} // namespace winapi::text
