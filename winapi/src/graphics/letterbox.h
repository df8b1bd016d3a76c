#pragma once
// Where a back buffer goes on a screen of another size: scaled as large as fits with its shape
// kept, centred, the bars left over on two sides.

#include "winapi/hooks/graphics.h"

namespace winapi::graphics {

// The rectangle type that the graphics hooks show tests.
using ScreenRect = hooks::ScreenRect;

ScreenRect Letterbox(int bufferWidth, int bufferHeight, int screenWidth, int screenHeight);

} // namespace winapi::graphics
