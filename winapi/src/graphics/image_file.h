#pragma once
// Image files read with SDL2_image: BMP, PNG and JPEG.

#include "graphics/image.h"

#include <d3dx9.h>
#include <string>

namespace winapi::graphics {

struct DecodedImage {
    Image image; // never opaque: alpha 0xFF where the file has none
    D3DXIMAGE_INFO info{};
    bool hasAlpha = false; // the file has an alpha channel or a transparent colour
};

// D3DERR_NOTFOUND when the file cannot be opened, D3DXERR_INVALIDDATA when it is not an image of
// a known kind or cannot be decoded.
HRESULT DecodeImageFile(const char* path, DecodedImage& decoded);

// Writes an image as a PNG file; false (with SDL2's reason in `error`) when it cannot.
bool SavePng(const Image& image, const std::string& path, std::string& error);

} // namespace winapi::graphics
