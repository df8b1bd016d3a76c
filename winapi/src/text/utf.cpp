#include "text/utf.h"

#include "codepage/unicode.h"

namespace winapi::text {

std::string Utf16ToUtf8(std::u16string_view text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        const auto decoded = codepage::DecodeUtf16(text.data() + i, text.size() - i);
        unsigned char units[4];
        const std::size_t n = codepage::EncodeUtf8(decoded.codePoint, units);
        out.append(reinterpret_cast<const char*>(units), n);
        i += decoded.length;
    }
    return out;
}

} // namespace winapi::text
