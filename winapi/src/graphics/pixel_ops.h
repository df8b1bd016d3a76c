#pragma once
// The drawing operations of the device and the sprite object, all clipped to the target.

#include "graphics/image.h"

#include <cstdint>

namespace winapi::graphics {

PixelRect Intersect(const PixelRect& a, const PixelRect& b);

void Fill(Image& target, const PixelRect& area, std::uint32_t color);

// Draws the source rectangle with its top-left corner at (x, y). Each texel is multiplied by the
// tint; with blending, the result is laid over the target by its alpha, else it replaces it.
void DrawImage(Image& target, const Image& source, const PixelRect& sourceArea, int x, int y,
               std::uint32_t tint, bool blend);

// Copies the source rectangle into the target rectangle, scaling by taking the nearest texel.
void CopyScaled(const Image& source, const PixelRect& sourceArea, Image& target,
                const PixelRect& targetArea);

// Texels exactly equal to the key become transparent black. A key of 0 means none.
void ApplyColorKey(Image& image, std::uint32_t key);

} // namespace winapi::graphics
