// Fuzzes the bounded string operations, narrow and wide, with fuzzed texts and capacities through
// fixed formats. Destinations are heap blocks of exactly the capacity, so any write past it trips
// AddressSanitizer; every result must be one of the three documented codes, with a terminator.

#include "util/bounded_string.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

template <typename Char> void CheckResult(HRESULT result, const std::vector<Char>& dest) {
    if (result != S_OK && result != kInsufficientBuffer && result != E_INVALIDARG) {
        std::abort();
    }
    if (result != E_INVALIDARG && std::find(dest.begin(), dest.end(), Char{}) == dest.end()) {
        std::abort();
    }
}

template <typename Char>
std::vector<Char> TerminatedText(const std::uint8_t* data, std::size_t size) {
    std::vector<Char> text(size / sizeof(Char) + 1, Char{});
    std::memcpy(text.data(), data, (size / sizeof(Char)) * sizeof(Char));
    return text;
}

void FuzzNarrow(std::size_t capacity, const std::vector<char>& text,
                const std::vector<WCHAR>& wide) {
    std::vector<char> dest(capacity, 'x');
    CheckResult(BoundedCopy(dest.data(), capacity, text.data()), dest);
    CheckResult(BoundedAppend(dest.data(), capacity, text.data()), dest);
    std::size_t length = 0;
    BoundedLength(text.data(), capacity, &length);
    CheckResult(BoundedFormat(dest.data(), capacity, "%s(%ld): %-12.5s|%S|%c", text.data(), -7,
                              text.data(), wide.data(), text[0]),
                dest);
    CheckResult(BoundedFormat(dest.data(), capacity, "%08.3x %+d %#o %5.1f", capacity,
                              static_cast<int>(length), 8, 1.5),
                dest);
}

void FuzzWide(std::size_t capacity, const std::vector<char>& text, const std::vector<WCHAR>& wide) {
    std::vector<WCHAR> dest(capacity, u'x');
    CheckResult(BoundedCopyW(dest.data(), capacity, wide.data()), dest);
    CheckResult(BoundedAppendW(dest.data(), capacity, wide.data()), dest);
    std::size_t length = 0;
    BoundedLengthW(wide.data(), capacity, &length);
    CheckResult(BoundedFormatW(dest.data(), capacity, u"%S(%s): %-9.3s %C%c %0.8x", text.data(),
                               wide.data(), wide.data(), text[0], wide[0],
                               static_cast<unsigned>(length)),
                dest);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) {
        return 0;
    }
    // Small capacities are the interesting ones; 0 must be rejected cleanly.
    const std::size_t capacity = (data[0] | (data[1] << 8)) % 300;
    data += 2;
    size -= 2;
    const auto text = TerminatedText<char>(data, size);
    const auto wide = TerminatedText<WCHAR>(data, size);
    if (capacity == 0) {
        char dest[1] = {'x'};
        if (BoundedCopy(dest, 0, text.data()) != E_INVALIDARG || dest[0] != 'x') {
            std::abort();
        }
        return 0;
    }
    FuzzNarrow(capacity, text, wide);
    FuzzWide(capacity, text, wide);
    return 0;
}
