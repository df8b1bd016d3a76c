#include "graphics/pixel_ops.h"

#include <algorithm>

namespace winapi::graphics {
namespace {

std::uint32_t Channel(std::uint32_t color, int shift) {
    return (color >> shift) & 0xFFu;
}

// a * b / 255, rounded, for channel values.
std::uint32_t Scale(std::uint32_t a, std::uint32_t b) {
    return (a * b + 127u) / 255u;
}

std::uint32_t Modulate(std::uint32_t texel, std::uint32_t tint) {
    if (tint == 0xFFFFFFFFu) {
        return texel;
    }
    std::uint32_t result = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        result |= Scale(Channel(texel, shift), Channel(tint, shift)) << shift;
    }
    return result;
}

std::uint32_t Blend(std::uint32_t source, std::uint32_t target) {
    std::uint32_t alpha = source >> 24;
    if (alpha == 0xFFu) {
        return source;
    }
    std::uint32_t result = 0;
    for (int shift = 0; shift < 32; shift += 8) {
        std::uint32_t mixed =
            (Channel(source, shift) * alpha + Channel(target, shift) * (255u - alpha) + 127u) /
            255u;
        result |= mixed << shift;
    }
    return result;
}

} // namespace

PixelRect Intersect(const PixelRect& a, const PixelRect& b) {
    return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
            std::min(a.bottom, b.bottom)};
}

void Fill(Image& target, const PixelRect& area, std::uint32_t color) {
    PixelRect clipped = Intersect(area, WholeImage(target));
    for (int y = clipped.top; y < clipped.bottom; ++y) {
        for (int x = clipped.left; x < clipped.right; ++x) {
            target.Put(x, y, color);
        }
    }
}

void DrawImage(Image& target, const Image& source, const PixelRect& sourceArea, int x, int y,
               std::uint32_t tint, bool blend) {
    PixelRect from = Intersect(sourceArea, WholeImage(source));
    if (from.Empty()) {
        return;
    }
    // Where the clipped source lands, in target pixels, and then what of it the target holds.
    // Positions are 64-bit so that far-off sprites cannot overflow.
    long long left = static_cast<long long>(x) + (from.left - sourceArea.left);
    long long top = static_cast<long long>(y) + (from.top - sourceArea.top);
    long long right = std::min<long long>(left + from.Width(), target.width);
    long long bottom = std::min<long long>(top + from.Height(), target.height);
    long long firstX = std::max<long long>(left, 0);
    long long firstY = std::max<long long>(top, 0);
    for (long long ty = firstY; ty < bottom; ++ty) {
        int sy = from.top + static_cast<int>(ty - top);
        for (long long tx = firstX; tx < right; ++tx) {
            int sx = from.left + static_cast<int>(tx - left);
            std::uint32_t texel = Modulate(source.Texel(sx, sy), tint);
            int px = static_cast<int>(tx);
            int py = static_cast<int>(ty);
            if (!blend) {
                target.Put(px, py, texel);
            } else if ((texel >> 24) != 0) {
                target.Put(px, py, Blend(texel, target.Texel(px, py)));
            }
        }
    }
}

void CopyScaled(const Image& source, const PixelRect& sourceArea, Image& target,
                const PixelRect& targetArea) {
    if (sourceArea.Empty() || targetArea.Empty()) {
        return;
    }
    for (int ty = 0; ty < targetArea.Height(); ++ty) {
        int sy = sourceArea.top + static_cast<int>(static_cast<long long>(ty) *
                                                   sourceArea.Height() / targetArea.Height());
        for (int tx = 0; tx < targetArea.Width(); ++tx) {
            int sx = sourceArea.left + static_cast<int>(static_cast<long long>(tx) *
                                                        sourceArea.Width() / targetArea.Width());
            target.Put(targetArea.left + tx, targetArea.top + ty, source.At(sx, sy));
        }
    }
}

void ApplyColorKey(Image& image, std::uint32_t key) {
    if (key == 0) {
        return;
    }
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            if (image.Texel(x, y) == key) {
                image.At(x, y) = 0;
            }
        }
    }
}

} // namespace winapi::graphics
