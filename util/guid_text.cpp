#include "util/guid_text.h"

#include "util/bounded_string.h"

#include <cstdio>

HRESULT GuidToText(const GUID& guid, char* dest, int capacity) {
    if (dest == nullptr || capacity < 1) {
        return E_INVALIDARG;
    }
    return BoundedFormat(dest, static_cast<std::size_t>(capacity),
                         "{%0.8X-%0.4X-%0.4X-%0.2X%0.2X-%0.2X%0.2X%0.2X%0.2X%0.2X%0.2X}",
                         guid.Data1, guid.Data2, guid.Data3, guid.Data4[0], guid.Data4[1],
                         guid.Data4[2], guid.Data4[3], guid.Data4[4], guid.Data4[5], guid.Data4[6],
                         guid.Data4[7]);
}

HRESULT GuidToTextBytes(const GUID& guid, char* dest, int capacityBytes) {
    return GuidToText(guid, dest, capacityBytes);
}

HRESULT GuidFromText(const char* text, GUID* out) {
    if (out == nullptr) {
        return E_INVALIDARG;
    }
    unsigned int first = 0;
    unsigned int fields[10] = {};
    if (text == nullptr ||
        std::sscanf(text, "{%8X-%4X-%4X-%2X%2X-%2X%2X%2X%2X%2X%2X}", &first, &fields[0], &fields[1],
                    &fields[2], &fields[3], &fields[4], &fields[5], &fields[6], &fields[7],
                    &fields[8], &fields[9]) != 11) {
        *out = GUID{};
        return E_FAIL;
    }
    out->Data1 = first;
    out->Data2 = static_cast<WORD>(fields[0]);
    out->Data3 = static_cast<WORD>(fields[1]);
    for (int i = 0; i < 8; ++i) {
        out->Data4[i] = static_cast<BYTE>(fields[2 + i]);
    }
    return S_OK;
}
