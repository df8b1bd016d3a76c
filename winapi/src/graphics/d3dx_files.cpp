// D3DX's image-file operations: image information, textures and surfaces from files.

#include "graphics/device.h"
#include "graphics/image_file.h"
#include "graphics/pixel_ops.h"
#include "graphics/test_controls.h"

#include <d3dx9.h>

namespace winapi::graphics {
namespace {

UINT SideOrImage(UINT requested, UINT imageSide) {
    bool fromImage = requested == 0 || requested == D3DX_DEFAULT ||
                     requested == D3DX_DEFAULT_NONPOW2 || requested == D3DX_FROM_FILE;
    return fromImage ? imageSide : requested;
}

// Whether a texture of the requested format is kept opaque; false for formats not kept at all.
bool TextureOpacity(D3DFORMAT requested, const DecodedImage& decoded, D3DCOLOR colorKey,
                    bool& opaque) {
    switch (requested) {
    case D3DFMT_UNKNOWN:
        opaque = !decoded.hasAlpha && colorKey == 0;
        return true;
    case D3DFMT_A8R8G8B8:
    case D3DFMT_A1R5G5B5:
        opaque = false;
        return true;
    case D3DFMT_X8R8G8B8:
    case D3DFMT_R8G8B8:
    case D3DFMT_R5G6B5:
    case D3DFMT_X1R5G5B5:
        opaque = true;
        return true;
    default:
        return false;
    }
}

bool ToPixelRect(const RECT* rect, const Image& image, PixelRect& area) {
    area = WholeImage(image);
    if (rect == nullptr) {
        return true;
    }
    area = {rect->left, rect->top, rect->right, rect->bottom};
    return !area.Empty() && area.left >= 0 && area.top >= 0 && area.right <= image.width &&
           area.bottom <= image.height;
}

} // namespace
} // namespace winapi::graphics

using namespace winapi::graphics;
using winapi::hooks::GraphicsCall;

HRESULT WINAPI D3DXGetImageInfoFromFileA(LPCSTR fileName, D3DXIMAGE_INFO* info) {
    if (fileName == nullptr || info == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    if (const HRESULT failure = InjectedFailure(GraphicsCall::GetImageInfo)) {
        return failure;
    }
    DecodedImage decoded;
    HRESULT result = DecodeImageFile(fileName, decoded);
    if (SUCCEEDED(result)) {
        *info = decoded.info;
    }
    return result;
}

HRESULT WINAPI D3DXCreateTextureFromFileExA(IDirect3DDevice9* device, LPCSTR fileName, UINT width,
                                            UINT height, UINT, DWORD usage, D3DFORMAT format,
                                            D3DPOOL pool, DWORD, DWORD, D3DCOLOR colorKey,
                                            D3DXIMAGE_INFO* sourceInfo, PALETTEENTRY*,
                                            IDirect3DTexture9** texture) {
    if (dynamic_cast<Device*>(device) == nullptr || fileName == nullptr || texture == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    DecodedImage decoded;
    if (HRESULT result = DecodeImageFile(fileName, decoded); FAILED(result)) {
        return result;
    }
    bool opaque = false;
    if (!TextureOpacity(format, decoded, colorKey, opaque)) {
        return D3DERR_INVALIDCALL;
    }
    UINT textureWidth = SideOrImage(width, decoded.info.Width);
    UINT textureHeight = SideOrImage(height, decoded.info.Height);
    if (textureWidth > kMaxImageSide || textureHeight > kMaxImageSide) {
        return D3DERR_INVALIDCALL;
    }
    if (const HRESULT failure = InjectedFailure(GraphicsCall::CreateTextureFromFile)) {
        return failure;
    }
    ApplyColorKey(decoded.image, colorKey);
    auto image = std::make_shared<Image>(static_cast<int>(textureWidth),
                                         static_cast<int>(textureHeight), opaque);
    CopyScaled(decoded.image, WholeImage(decoded.image), *image, WholeImage(*image));
    if (sourceInfo != nullptr) {
        *sourceInfo = decoded.info;
    }
    *texture = new Texture(std::move(image), pool, usage);
    return D3D_OK;
}

HRESULT WINAPI D3DXLoadSurfaceFromFileA(IDirect3DSurface9* destSurface, const PALETTEENTRY*,
                                        const RECT* destRect, LPCSTR sourceFile,
                                        const RECT* sourceRect, DWORD, D3DCOLOR colorKey,
                                        D3DXIMAGE_INFO* sourceInfo) {
    auto* surface = dynamic_cast<Surface*>(destSurface);
    if (surface == nullptr || sourceFile == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    DecodedImage decoded;
    if (HRESULT result = DecodeImageFile(sourceFile, decoded); FAILED(result)) {
        return result;
    }
    PixelRect from;
    PixelRect to;
    if (!ToPixelRect(sourceRect, decoded.image, from) ||
        !ToPixelRect(destRect, surface->Pixels(), to)) {
        return D3DERR_INVALIDCALL;
    }
    if (const HRESULT failure = InjectedFailure(GraphicsCall::LoadSurfaceFromFile)) {
        return failure;
    }
    ApplyColorKey(decoded.image, colorKey);
    CopyScaled(decoded.image, from, surface->Pixels(), to);
    if (sourceInfo != nullptr) {
        *sourceInfo = decoded.info;
    }
    return D3D_OK;
}
