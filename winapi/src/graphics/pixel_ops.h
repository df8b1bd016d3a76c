#pragma once
// Pixel work other than sprite drawing: clipping, filling, scaled copies and colour keys.

#include "graphics/image.h"

#include <cstdint>

namespace winapi::graphics {

PixelRect Intersect(const PixelRect& a, const PixelRect& b);

void Fill(Image& target, const PixelRect& area, std::uint32_t color);

// Copies the source rectangle into the target rectangle, scaling by taking the nearest texel.
void CopyScaled(const Image& source, const PixelRect& sourceArea, Image& target,
                const PixelRect& targetArea);

// Texels exactly equal to the key become transparent black. A key of 0 means none.
void ApplyColorKey(Image& image, std::uint32_t key);

} // namespace winapi::graphics
