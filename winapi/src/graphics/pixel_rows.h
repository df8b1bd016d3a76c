#pragma once
// Runs of pixels written at once. Each step handles four words through a small array, a shape
// compilers turn into single vector instructions where they would leave a plain loop word by word.

#include <cstdint>
#include <cstring>

namespace winapi::graphics {

inline void FillRow(std::uint32_t* out, int count, std::uint32_t color) {
    const std::uint32_t quad[4] = {color, color, color, color};
    int i = 0;
    for (; i + 4 <= count; i += 4) {
        std::memcpy(out + i, quad, sizeof quad);
    }
    for (; i < count; ++i) {
        out[i] = color;
    }
}

// Copies the words with `bits` set in each, as an opaque image sets its alpha bits.
inline void CopyRowSetting(std::uint32_t* out, const std::uint32_t* in, int count,
                           std::uint32_t bits) {
    if (bits == 0) {
        std::memcpy(out, in, static_cast<std::size_t>(count) * sizeof *in);
        return;
    }
    int i = 0;
    for (; i + 4 <= count; i += 4) {
        std::uint32_t quad[4];
        std::memcpy(quad, in + i, sizeof quad);
        for (std::uint32_t& word : quad) {
            word |= bits;
        }
        std::memcpy(out + i, quad, sizeof quad);
    }
    for (; i < count; ++i) {
        out[i] = in[i] | bits;
    }
}

} // namespace winapi::graphics
