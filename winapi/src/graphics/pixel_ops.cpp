#include "graphics/pixel_ops.h"

#include "graphics/pixel_rows.h"

#include <algorithm>

namespace winapi::graphics {

PixelRect Intersect(const PixelRect& a, const PixelRect& b) {
    return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
            std::min(a.bottom, b.bottom)};
}

void Fill(Image& target, const PixelRect& area, std::uint32_t color) {
    PixelRect clipped = Intersect(area, WholeImage(target));
    if (clipped.Empty()) {
        return;
    }
    const std::uint32_t stored = target.opaque ? color | 0xFF000000u : color;
    for (int y = clipped.top; y < clipped.bottom; ++y) {
        FillRow(&target.At(clipped.left, y), clipped.Width(), stored);
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
