// Fuzzes the code-page conversions with fuzzed text in both directions, fuzzed source lengths and
// destination sizes. Destinations are heap blocks of exactly the size offered, so a write past
// them trips AddressSanitizer. Checked: the size query matches the conversion, replaced output is
// always well formed (so it converts strictly and back unchanged), and the utilities' wrappers
// always leave a terminated text of whole characters.

#include "util/text_conversion.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

std::u16string ToWide(const char* text, int length, DWORD flags, int& result) {
    const int needed = MultiByteToWideChar(CP_UTF8, flags, text, length, nullptr, 0);
    std::u16string wide(static_cast<std::size_t>(needed), u'\0');
    result =
        needed > 0 ? MultiByteToWideChar(CP_UTF8, flags, text, length, wide.data(), needed) : 0;
    Require(result == needed);
    return wide;
}

std::string ToNarrow(const char16_t* text, int length, DWORD flags, int& result) {
    const int needed =
        WideCharToMultiByte(CP_ACP, flags, text, length, nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<std::size_t>(needed), '\0');
    result = needed > 0 ? WideCharToMultiByte(CP_ACP, flags, text, length, narrow.data(), needed,
                                              nullptr, nullptr)
                        : 0;
    Require(result == needed);
    return narrow;
}

void FuzzNarrowSource(const std::string& text, int destLength) {
    const int length = static_cast<int>(text.size());
    int result = 0;
    const std::u16string wide = ToWide(text.data(), length, 0, result);
    // Replacement output holds no unpaired surrogate, so it converts strictly, and back to the
    // same bytes when the source was well formed.
    const std::string back =
        ToNarrow(wide.data(), static_cast<int>(wide.size()), WC_ERR_INVALID_CHARS, result);
    Require(wide.empty() || result > 0);
    int strict = 0;
    ToWide(text.data(), length, MB_ERR_INVALID_CHARS, strict);
    if (strict > 0) {
        Require(back == text);
    }
    std::vector<char16_t> small(static_cast<std::size_t>(destLength));
    const int cut = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, small.data(), destLength);
    Require(cut == 0 || cut == static_cast<int>(wide.size()) + 1);

    std::vector<WCHAR> dest(static_cast<std::size_t>(destLength));
    if (NarrowToWide(dest.data(), text.c_str(), destLength) != E_INVALIDARG) {
        Require(dest.back() == u'\0');
        const std::size_t end = std::char_traits<char16_t>::length(dest.data());
        Require(end == 0 || dest[end - 1] < 0xD800 || dest[end - 1] > 0xDBFF);
    }
}

void FuzzWideSource(const std::u16string& text, int destLength) {
    int result = 0;
    const std::string narrow =
        text.empty() ? std::string()
                     : ToNarrow(text.data(), static_cast<int>(text.size()), 0, result);
    if (!narrow.empty()) {
        int strict = 0;
        ToWide(narrow.data(), static_cast<int>(narrow.size()), MB_ERR_INVALID_CHARS, strict);
        Require(strict > 0);
    }
    std::vector<char> dest(static_cast<std::size_t>(destLength));
    if (WideToNarrow(dest.data(), text.c_str(), destLength) != E_INVALIDARG) {
        Require(dest.back() == '\0');
        int strict = 0;
        const int length = static_cast<int>(std::strlen(dest.data()));
        if (length > 0) {
            ToWide(dest.data(), length, MB_ERR_INVALID_CHARS, strict);
            Require(strict > 0);
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) {
        return 0;
    }
    const bool wideSource = (data[0] & 1) != 0;
    const int destLength = data[1] % 64;
    data += 2;
    size -= 2;
    if (wideSource) {
        std::u16string text(size / 2, u'\0');
        std::memcpy(text.data(), data, text.size() * 2);
        text.erase(std::find(text.begin(), text.end(), u'\0'), text.end());
        FuzzWideSource(text, destLength);
    } else {
        std::string text(reinterpret_cast<const char*>(data), size);
        text.erase(std::find(text.begin(), text.end(), '\0'), text.end());
        FuzzNarrowSource(text, destLength);
    }
    return 0;
}
