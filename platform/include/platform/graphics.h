#pragma once
// The program's Direct3D objects and its image loading: the full-screen device, its back buffer,
// the one sprite object through which everything is drawn, textures and surfaces from files.

#include "platform/platform_state.h"

#include <d3d9.h>
#include <d3dx9.h>
#include <windows.h>

// 1 when the object, a full-screen device of width by height and the sprite object exist.
int Init_Direct3D(HWND window, int width, int height);
// A texture of the image's own size; pixels of exactly `transparentColour` (32-bit ARGB, 0 for
// none) become transparent. Null after a logged failure. Needs the device.
IDirect3DTexture9* LoadTexture(const char* fileName, D3DCOLOR transparentColour);
// An off-screen surface holding the image. Null after a logged failure. Needs the device.
IDirect3DSurface9* LoadSurface(const char* fileName, D3DCOLOR transparentColour);
