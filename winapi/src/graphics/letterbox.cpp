#include "graphics/letterbox.h"

namespace winapi::graphics {

ScreenRect Letterbox(int bufferWidth, int bufferHeight, int screenWidth, int screenHeight) {
    if (bufferWidth <= 0 || bufferHeight <= 0 || screenWidth <= 0 || screenHeight <= 0) {
        return {};
    }
    // Compare screenWidth / bufferWidth with screenHeight / bufferHeight without rounding: the
    // narrower ratio decides, and the other side follows it, rounded to the nearest pixel.
    long long widthByHeight = static_cast<long long>(screenWidth) * bufferHeight;
    long long heightByWidth = static_cast<long long>(screenHeight) * bufferWidth;
    ScreenRect rect;
    if (widthByHeight <= heightByWidth) {
        rect.width = screenWidth;
        rect.height = static_cast<int>(
            (static_cast<long long>(screenWidth) * bufferHeight + bufferWidth / 2) / bufferWidth);
    } else {
        rect.height = screenHeight;
        rect.width = static_cast<int>(
            (static_cast<long long>(screenHeight) * bufferWidth + bufferHeight / 2) / bufferHeight);
    }
    rect.x = (screenWidth - rect.width) / 2;
    rect.y = (screenHeight - rect.height) / 2;
    return rect;
}

} // namespace winapi::graphics
