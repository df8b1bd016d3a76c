#pragma once
// Pixels in memory: 32-bit ARGB words, row after row. An opaque image (X8R8G8B8) has no alpha:
// everything written to it gets alpha 0xFF, so that its pixels read as what is shown.

#include <cstdint>
#include <vector>

namespace winapi::graphics {

struct Image {
    Image() = default;
    Image(int width_, int height_, bool opaque_)
        : width(width_), height(height_), opaque(opaque_),
          pixels(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_),
                 opaque_ ? 0xFF000000u : 0u) {}

    std::uint32_t& At(int x, int y) {
        return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                      static_cast<std::size_t>(x)];
    }
    std::uint32_t At(int x, int y) const {
        return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) +
                      static_cast<std::size_t>(x)];
    }
    // The colour a pixel stands for: alpha 0xFF in an opaque image.
    std::uint32_t Texel(int x, int y) const { return opaque ? At(x, y) | 0xFF000000u : At(x, y); }
    void Put(int x, int y, std::uint32_t color) { At(x, y) = opaque ? color | 0xFF000000u : color; }

    int width = 0;
    int height = 0;
    bool opaque = false;
    std::vector<std::uint32_t> pixels;
};

// A rectangle of pixels, right and bottom excluded.
struct PixelRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool Empty() const { return right <= left || bottom <= top; }
};

inline PixelRect WholeImage(const Image& image) {
    return {0, 0, image.width, image.height};
}

// The largest side of any image the stand-in makes.
inline constexpr int kMaxImageSide = 16384;

} // namespace winapi::graphics
