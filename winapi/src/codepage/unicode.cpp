#include "codepage/unicode.h"

namespace winapi::codepage {
namespace {

constexpr char32_t kReplacement = 0xFFFD;

struct LeadByte {
    std::size_t continuations;
    unsigned char payloadMask;
    unsigned char secondLow;  // the second byte's range, narrower for some leads so that overlong
    unsigned char secondHigh; // forms, surrogates and values above U+10FFFF are refused at once
};

bool Classify(unsigned char lead, LeadByte& out) {
    if (lead >= 0xC2 && lead <= 0xDF) {
        out = {1, 0x1F, 0x80, 0xBF};
    } else if (lead == 0xE0) {
        out = {2, 0x0F, 0xA0, 0xBF};
    } else if (lead == 0xED) {
        out = {2, 0x0F, 0x80, 0x9F};
    } else if (lead >= 0xE1 && lead <= 0xEF) {
        out = {2, 0x0F, 0x80, 0xBF};
    } else if (lead == 0xF0) {
        out = {3, 0x07, 0x90, 0xBF};
    } else if (lead >= 0xF1 && lead <= 0xF3) {
        out = {3, 0x07, 0x80, 0xBF};
    } else if (lead == 0xF4) {
        out = {3, 0x07, 0x80, 0x8F};
    } else {
        return false;
    }
    return true;
}

} // namespace

Decoded DecodeUtf8(const unsigned char* text, std::size_t available) {
    const unsigned char lead = text[0];
    if (lead < 0x80) {
        return {lead, 1, true};
    }
    LeadByte shape{};
    if (!Classify(lead, shape)) {
        return {kReplacement, 1, false};
    }
    char32_t codePoint = lead & shape.payloadMask;
    for (std::size_t i = 1; i <= shape.continuations; ++i) {
        if (i >= available) {
            return {kReplacement, i, false};
        }
        const unsigned char byte = text[i];
        const unsigned char low = i == 1 ? shape.secondLow : 0x80;
        const unsigned char high = i == 1 ? shape.secondHigh : 0xBF;
        if (byte < low || byte > high) {
            return {kReplacement, i, false};
        }
        codePoint = (codePoint << 6) | (byte & 0x3F);
    }
    return {codePoint, shape.continuations + 1, true};
}

Decoded DecodeUtf16(const char16_t* text, std::size_t available) {
    const char16_t unit = text[0];
    if (unit < 0xD800 || unit > 0xDFFF) {
        return {unit, 1, true};
    }
    if (unit <= 0xDBFF && available > 1 && text[1] >= 0xDC00 && text[1] <= 0xDFFF) {
        return {0x10000 + ((char32_t(unit) - 0xD800) << 10) + (text[1] - 0xDC00), 2, true};
    }
    return {kReplacement, 1, false};
}

std::size_t EncodeUtf8(char32_t codePoint, unsigned char* out) {
    if (codePoint < 0x80) {
        out[0] = static_cast<unsigned char>(codePoint);
        return 1;
    }
    if (codePoint < 0x800) {
        out[0] = static_cast<unsigned char>(0xC0 | (codePoint >> 6));
        out[1] = static_cast<unsigned char>(0x80 | (codePoint & 0x3F));
        return 2;
    }
    if (codePoint < 0x10000) {
        out[0] = static_cast<unsigned char>(0xE0 | (codePoint >> 12));
        out[1] = static_cast<unsigned char>(0x80 | ((codePoint >> 6) & 0x3F));
        out[2] = static_cast<unsigned char>(0x80 | (codePoint & 0x3F));
        return 3;
    }
    out[0] = static_cast<unsigned char>(0xF0 | (codePoint >> 18));
    out[1] = static_cast<unsigned char>(0x80 | ((codePoint >> 12) & 0x3F));
    out[2] = static_cast<unsigned char>(0x80 | ((codePoint >> 6) & 0x3F));
    out[3] = static_cast<unsigned char>(0x80 | (codePoint & 0x3F));
    return 4;
}

std::size_t EncodeUtf16(char32_t codePoint, char16_t* out) {
    if (codePoint < 0x10000) {
        out[0] = static_cast<char16_t>(codePoint);
        return 1;
    }
    out[0] = static_cast<char16_t>(0xD800 + ((codePoint - 0x10000) >> 10));
    out[1] = static_cast<char16_t>(0xDC00 + ((codePoint - 0x10000) & 0x3FF));
    return 2;
}

} // namespace winapi::codepage
