#pragma once
// Test hooks for the Direct3D 9 and D3DX 9 stand-in.

#include "winapi/types.h"

#include <cstdint>
#include <functional>
#include <span>

namespace winapi::hooks {

// A presented back buffer: 32-bit ARGB pixels, row after row, width pixels to a row.
struct Frame {
    int width = 0;
    int height = 0;
    std::span<const std::uint32_t> pixels;
};

// In headless runs Present hands each back buffer to this function (which must not keep the
// span). An empty function drops the frames.
void SetFrameSink(std::function<void(const Frame&)> sink);

// In headless runs, false makes IDirect3D9::CreateDevice fail as on a machine without a display.
void SetDisplayAvailable(bool available);

// Platform calls that can be made to fail, to reach the callers' failure paths.
enum class GraphicsCall {
    Direct3DCreate9,        // returns null
    CreateDevice,           // D3DERR_NOTAVAILABLE
    CreateSprite,           // D3DERR_INVALIDCALL
    GetImageInfo,           // D3DXERR_INVALIDDATA
    CreateTextureFromFile,  // D3DERR_OUTOFVIDEOMEMORY
    CreateOffscreenSurface, // D3DERR_OUTOFVIDEOMEMORY
    LoadSurfaceFromFile,    // D3DXERR_INVALIDDATA
};
void SetGraphicsFailure(GraphicsCall call, bool fail);

// Clears the failures, the frame sink and display availability (available again).
void ResetGraphics();

} // namespace winapi::hooks
