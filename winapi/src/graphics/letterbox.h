#pragma once
// Where a back buffer goes on a screen of another size: scaled as large as fits with its shape
// kept, centred, the bars left over on two sides.

namespace winapi::graphics {

struct ScreenRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};

ScreenRect Letterbox(int bufferWidth, int bufferHeight, int screenWidth, int screenHeight);

} // namespace winapi::graphics
