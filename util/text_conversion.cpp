#include "util/text_conversion.h"

#include <algorithm>
#include <cstring>

namespace {

int WideCapacity(int capacityBytes) {
    return capacityBytes / static_cast<int>(sizeof(WCHAR));
}

// After a conversion that did not fit, forcing the terminator into the last place can split a
// character; drop its first half so that the destination holds only whole characters.
void DropSplitCharacter(WCHAR* dest, int capacity) {
    if (capacity >= 2 && dest[capacity - 2] >= 0xD800 && dest[capacity - 2] <= 0xDBFF) {
        dest[capacity - 2] = u'\0';
    }
}

void DropSplitCharacter(char* dest, int capacity) {
    const int end = capacity - 1; // where the terminator now stands
    int start = end - 1;
    while (start > 0 && (static_cast<unsigned char>(dest[start]) & 0xC0) == 0x80) {
        --start;
    }
    if (start < 0) {
        return;
    }
    const auto lead = static_cast<unsigned char>(dest[start]);
    const int length = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    if (end - start < length) {
        dest[start] = '\0';
    }
}

HRESULT CopyNarrow(char* dest, const char* source, int capacity) {
    if (dest == nullptr || source == nullptr || capacity < 1) {
        return E_INVALIDARG;
    }
    std::strncpy(dest, source, static_cast<std::size_t>(capacity));
    dest[capacity - 1] = '\0';
    return S_OK;
}

} // namespace

HRESULT NarrowToWide(WCHAR* dest, const char* source, int capacity) {
    if (dest == nullptr || source == nullptr || capacity < 1) {
        return E_INVALIDARG;
    }
    // A conversion that does not fit reports nothing of what it wrote: start from zeros so that
    // the destination ends right after the characters that fitted.
    std::fill_n(dest, capacity, u'\0');
    const int written = MultiByteToWideChar(CP_ACP, 0, source, -1, dest, capacity);
    dest[capacity - 1] = u'\0';
    if (written == 0) {
        DropSplitCharacter(dest, capacity);
        return E_FAIL;
    }
    return S_OK;
}

HRESULT WideToNarrow(char* dest, const WCHAR* source, int capacity) {
    if (dest == nullptr || source == nullptr || capacity < 1) {
        return E_INVALIDARG;
    }
    std::fill_n(dest, capacity, '\0');
    const int written =
        WideCharToMultiByte(CP_ACP, 0, source, -1, dest, capacity, nullptr, nullptr);
    dest[capacity - 1] = '\0';
    if (written == 0) {
        DropSplitCharacter(dest, capacity);
        return E_FAIL;
    }
    return S_OK;
}

HRESULT TextToNarrow(char* dest, const char* source, int capacity) {
    return CopyNarrow(dest, source, capacity);
}

HRESULT NarrowToText(char* dest, const char* source, int capacity) {
    return CopyNarrow(dest, source, capacity);
}

HRESULT TextToWide(WCHAR* dest, const char* source, int capacity) {
    return NarrowToWide(dest, source, capacity);
}

HRESULT WideToText(char* dest, const WCHAR* source, int capacity) {
    return WideToNarrow(dest, source, capacity);
}

HRESULT NarrowToWideBytes(WCHAR* dest, const char* source, int capacityBytes) {
    return NarrowToWide(dest, source, WideCapacity(capacityBytes));
}

HRESULT WideToNarrowBytes(char* dest, const WCHAR* source, int capacityBytes) {
    return WideToNarrow(dest, source, capacityBytes);
}

HRESULT TextToNarrowBytes(char* dest, const char* source, int capacityBytes) {
    return TextToNarrow(dest, source, capacityBytes);
}

HRESULT NarrowToTextBytes(char* dest, const char* source, int capacityBytes) {
    return NarrowToText(dest, source, capacityBytes);
}

HRESULT TextToWideBytes(WCHAR* dest, const char* source, int capacityBytes) {
    return TextToWide(dest, source, WideCapacity(capacityBytes));
}

HRESULT WideToTextBytes(char* dest, const WCHAR* source, int capacityBytes) {
    return WideToText(dest, source, capacityBytes);
}
