// Copy, append and length of bounded strings. The narrow and wide forms share one template.

#include "util/bounded_string.h"

namespace {

bool ValidCapacity(std::size_t capacity) {
    return capacity != 0 && capacity <= kMaxBoundedCapacity;
}

template <typename Char>
HRESULT LengthOf(const Char* text, std::size_t limit, std::size_t* length) {
    if (text == nullptr || !ValidCapacity(limit)) {
        return E_INVALIDARG;
    }
    for (std::size_t n = 0; n < limit; ++n) {
        if (text[n] == Char{}) {
            if (length != nullptr) {
                *length = n;
            }
            return S_OK;
        }
    }
    return E_INVALIDARG;
}

// Copies source into dest, which holds capacity characters and is known to be valid.
template <typename Char> HRESULT CopyInto(Char* dest, std::size_t capacity, const Char* source) {
    std::size_t n = 0;
    while (n + 1 < capacity && source[n] != Char{}) {
        dest[n] = source[n];
        ++n;
    }
    dest[n] = Char{};
    return source[n] == Char{} ? S_OK : kInsufficientBuffer;
}

template <typename Char> HRESULT Copy(Char* dest, std::size_t capacity, const Char* source) {
    if (dest == nullptr || !ValidCapacity(capacity)) {
        return E_INVALIDARG;
    }
    if (source == nullptr) {
        dest[0] = Char{};
        return E_INVALIDARG;
    }
    return CopyInto(dest, capacity, source);
}

template <typename Char> HRESULT Append(Char* dest, std::size_t capacity, const Char* source) {
    if (dest == nullptr || !ValidCapacity(capacity)) {
        return E_INVALIDARG;
    }
    std::size_t used = 0;
    if (FAILED(LengthOf(dest, capacity, &used)) || source == nullptr) {
        return E_INVALIDARG;
    }
    return CopyInto(dest + used, capacity - used, source);
}

} // namespace

HRESULT BoundedCopy(char* dest, std::size_t capacity, const char* source) {
    return Copy(dest, capacity, source);
}

HRESULT BoundedCopyW(WCHAR* dest, std::size_t capacity, const WCHAR* source) {
    return Copy(dest, capacity, source);
}

HRESULT BoundedAppend(char* dest, std::size_t capacity, const char* source) {
    return Append(dest, capacity, source);
}

HRESULT BoundedAppendW(WCHAR* dest, std::size_t capacity, const WCHAR* source) {
    return Append(dest, capacity, source);
}

HRESULT BoundedLength(const char* text, std::size_t limit, std::size_t* length) {
    return LengthOf(text, limit, length);
}

HRESULT BoundedLengthW(const WCHAR* text, std::size_t limit, std::size_t* length) {
    return LengthOf(text, limit, length);
}
