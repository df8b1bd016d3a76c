#pragma once
// Drawing a rectangle of one image into another, as the sprite object draws its batch.

#include "graphics/image.h"

#include <cstdint>

namespace winapi::graphics {

// Draws the source rectangle with its top-left corner at (x, y), clipped to both images. Each
// texel is multiplied by the tint; with blending, the result is laid over the target by its alpha,
// else it replaces it.
void DrawImage(Image& target, const Image& source, const PixelRect& sourceArea, int x, int y,
               std::uint32_t tint, bool blend);

} // namespace winapi::graphics
