#pragma once
// Test hooks for the Direct3D 9 and D3DX 9 stand-in.

#include "winapi/types.h"

#include <cstdint>
#include <functional>
#include <span>

namespace winapi {

// A presented back buffer: 32-bit ARGB pixels, row after row, width pixels to a row.
struct PresentedFrame {
    int width = 0;
    int height = 0;
    std::span<const std::uint32_t> pixels;
};

} // namespace winapi

namespace winapi::hooks {

using Frame = PresentedFrame;

// In headless runs Present hands each back buffer to this function (which must not keep the
// span). An empty function drops the frames.
void SetFrameSink(std::function<void(const Frame&)> sink);

// In headless runs, false makes IDirect3D9::CreateDevice fail as on a machine without a display.
void SetDisplayAvailable(bool available);

// Platform calls that can be made to fail, to reach the callers' failure paths.
enum class GraphicsCall {
    Direct3DCreate9, // returns null whatever the result
    CreateDevice,
    CreateSprite,
    GetImageInfo,
    CreateTextureFromFile,
    CreateOffscreenSurface,
    LoadSurfaceFromFile,
};
// Every later call of that kind fails with `result`; a success code lets them succeed again.
void FailGraphicsCall(GraphicsCall call, HRESULT result);

// Clears the failures, the frame sink, the capture requests, the last presented place and display
// availability (available again).
void ResetGraphicsHooks();

// Where a back buffer of one size is shown on a screen of another: scaled as large as fits with
// its shape kept, centred.
struct ScreenRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
};
ScreenRect LetterboxRect(int bufferWidth, int bufferHeight, int screenWidth, int screenHeight);

// Where the last frame presented in an SDL2 window went: the size of the window's drawing area as
// SDL2 reported it at that moment, and the picture's rectangle in it.
struct PresentedPlace {
    int outputWidth = 0;
    int outputHeight = 0;
    ScreenRect picture;
};
PresentedPlace LastPresentedPlace();

} // namespace winapi::hooks
