#pragma once
// UTF-8 <-> UTF-16 conversion shared by the stand-in's services. Invalid sequences become U+FFFD.

#include <string>
#include <string_view>

namespace winapi::text {

std::string Utf16ToUtf8(std::u16string_view text);
std::u16string Utf8ToUtf16(std::string_view text);

} // namespace winapi::text
