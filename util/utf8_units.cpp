#include "util/utf8_units.h"

namespace utf {

char32_t NextFromUtf8(const char*& text) {
    const auto lead = static_cast<unsigned char>(*text);
    if (lead == 0) {
        return 0;
    }
    ++text;
    if (lead < 0x80) {
        return lead;
    }
    int extra;
    char32_t cp;
    char32_t smallest;
    if ((lead & 0xE0) == 0xC0) {
        extra = 1, cp = lead & 0x1F, smallest = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2, cp = lead & 0x0F, smallest = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3, cp = lead & 0x07, smallest = 0x10000;
    } else {
        return kReplacement;
    }
    for (int k = 0; k < extra; ++k) {
        const auto next = static_cast<unsigned char>(*text);
        if ((next & 0xC0) != 0x80) { // also stops at the terminator
            return kReplacement;
        }
        cp = (cp << 6) | (next & 0x3F);
        ++text;
    }
    if (cp < smallest || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        return kReplacement;
    }
    return cp;
}

char32_t NextFromUtf16(const char16_t*& text) {
    const char32_t unit = *text;
    if (unit == 0) {
        return 0;
    }
    ++text;
    if (unit >= 0xD800 && unit <= 0xDBFF && *text >= 0xDC00 && *text <= 0xDFFF) {
        const char32_t low = *text++;
        return 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
    }
    return (unit >= 0xD800 && unit <= 0xDFFF) ? kReplacement : unit;
}

std::size_t Utf8Length(char32_t cp) {
    return cp < 0x80 ? 1 : cp < 0x800 ? 2 : cp < 0x10000 ? 3 : 4;
}

std::size_t Utf16Length(char32_t cp) {
    return cp < 0x10000 ? 1 : 2;
}

std::size_t EncodeUtf8(char32_t cp, char* out) {
    const std::size_t n = Utf8Length(cp);
    static constexpr unsigned char kLeads[] = {0, 0, 0xC0, 0xE0, 0xF0};
    for (std::size_t i = n - 1; i > 0; --i) {
        out[i] = static_cast<char>(0x80 | (cp & 0x3F));
        cp >>= 6;
    }
    out[0] = static_cast<char>(n == 1 ? cp : (kLeads[n] | cp));
    return n;
}

std::size_t EncodeUtf16(char32_t cp, char16_t* out) {
    if (cp < 0x10000) {
        out[0] = static_cast<char16_t>(cp);
        return 1;
    }
    cp -= 0x10000;
    out[0] = static_cast<char16_t>(0xD800 + (cp >> 10));
    out[1] = static_cast<char16_t>(0xDC00 + (cp & 0x3FF));
    return 2;
}

} // namespace utf
